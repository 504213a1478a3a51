function cases = uart_cases()
  % The UART blocks: fixed layouts chosen by scalar settings.
  full = @(in, out, P) [2 out; 3 in; 6 1; 7 P; 23 8194; 31 2];
  cases = {
    % receive: sample time, leading output, data width, option bits
    'ZEVK_UART_Rx', {0.01, 1, -1, 2},  full(0, 3, 4)
    'ZEVK_UART_Rx', {0.01, 0, 0, 0},   full(0, 1, 4)
    'ZEVK_UART_Rx', {0.01, 0, 5, 1},   full(1, 1, 4)
    'ZEVK_UART_Rx', {0.01, 1, 8, 3},   full(1, 3, 4)
    'ZEVK_UART_Rx', {0.01, 1, 8},      [7 4]
    % transmit: sample time, option bits, leading input, output flag
    'ZEVK_UART_Tx', {0.01, 1, 1, 0},   full(3, 0, 4)
    'ZEVK_UART_Tx', {0.01, 2, 0, 1},   full(1, 2, 4)
    'ZEVK_UART_Tx', {0.01, 0, 0, 0},   full(1, 0, 4)
    'ZEVK_UART_Tx', {0.01, 3, 1, 1},   full(3, 2, 4)
    % The input count is summed before it is truncated: 0.5 + 1 + 1.
    'ZEVK_UART_Tx', {0.01, 1, 0.5, 0}, full(2, 0, 4)
    'ZEVK_UART_Tx', {0.01, 1, 1, 0, 0}, [7 4]
    % TxMatlab: only the element count of parameter 1
    'ZEVK_UART_TxMatlab', {0.01, [7 7 7]}, full(3, 0, 2)
    'ZEVK_UART_TxMatlab', {0.01, zeros(2, 2)}, full(4, 0, 2)
    'ZEVK_UART_TxMatlab', {0.01, []},  full(0, 0, 2)
    'ZEVK_UART_TxMatlab', {0.01},      [7 2]
  };
end
