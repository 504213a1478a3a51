function cases = bad_input_cases()
  % Odd values with the answer written out, where the value decides a port
  % count or the options word.
  wide = hex2dec('10000022') + 8192;
  irq = @(options) [2 1; 6 1; 7 9; 8 1; 10 1; 23 options; 31 2 + 2^20];
  ic = @(in, out) [2 out; 3 in; 6 1; 7 4; 23 8194; 31 2];
  tx = @(in, out) [2 out; 3 in; 6 1; 7 4; 23 8194; 31 2];
  sel = @(value) {0, 0, 0, 0, 32, value, 1, 0, 1};
  cases = {
    % the options selector must be exactly 1
    'ZEVK_Interrupt', sel(char(1)),        irq(wide)
    'ZEVK_Interrupt', sel(true),           irq(wide)
    'ZEVK_Interrupt', sel(int8(1)),        irq(wide)
    'ZEVK_Interrupt', sel(single(1)),      irq(wide)
    'ZEVK_Interrupt', sel(complex(1, 5)),  irq(wide)
    'ZEVK_Interrupt', sel([1 0; 0 0]),     irq(wide)
    'ZEVK_Interrupt', sel('1'),            irq(98 + 8192)
    'ZEVK_Interrupt', sel(sparse(1)),      irq(98 + 8192)
    'ZEVK_Interrupt', sel({1}),            irq(98 + 8192)
    'ZEVK_Interrupt', sel(struct('v', 1)), irq(98 + 8192)
    'ZEVK_Interrupt', sel([]),             irq(98 + 8192)
    'ZEVK_Interrupt', sel(NaN),            irq(98 + 8192)
    % option bits from the first element, truncated
    'ZEVK_IC', {0.01, [3 5], 7, 'c'},           ic(3, 2)   % 99: bits 0 and 1
    'ZEVK_IC', {0.01, [3 5], 7, int8(-1)},      ic(3, 2)
    'ZEVK_IC', {0.01, [3 5], 7, true},          ic(3, 1)
    'ZEVK_IC', {0.01, [3 5], 7, uint8([2 1])},  ic(2, 2)
    'ZEVK_IC', {0.01, [3 5], 7, NaN},           ic(2, 1)
    'ZEVK_IC', {0.01, [3 5], 7, -Inf},          ic(2, 1)
    'ZEVK_IC', {0.01, [3 5], 7, 1e300},         ic(2, 1)
    'ZEVK_IC', {0.01, [3 5], 7, {3}},           ic(2, 1)
    % port counts from the element count, whatever the shape or class
    'ZEVK_IC', {0.01, ones(2, 2, 2), 'ab', 0},  ic(8, 2)
    'ZEVK_IC', {0.01, int16([1; 2; 3]), [], 0}, ic(3, 0)
    'ZEVK_IC', {0.01, struct('a', {1, 2}), {1, 2}, 0}, ic(0, 0)
    'ZEVK_IC', {0.01, sparse([1 2]), 7, 0},     ic(0, 1)
    'ZEVK_IC', {0.01, [1+2i 3], 7, 0},          ic(2, 1)
    'ZEVK_IC', {0.01, zeros(3, 0, 2), 7, 0},    ic(0, 1)
    % the transmit block's flags compare exactly with 1
    'ZEVK_UART_Tx', {0.01, '1', 1, 1},          tx(3, 1)   % '1' is 49: bit 0, not bit 1
    'ZEVK_UART_Tx', {0.01, 0, true, true},      tx(2, 1)
    'ZEVK_UART_Tx', {0.01, 0, {1}, {1}},        tx(1, 0)
    'ZEVK_UART_TxMatlab', {0.01, 'abcd'},       [3 4; 6 1; 7 2; 23 8194; 31 2]
    'ZEVK_UART_TxMatlab', {0.01, {1, 2, 3}},    [6 1; 7 2; 23 8194; 31 2]
    'ZEVK_UART_Rx', {0.01, char(1), 5, 0},      [2 2; 6 1; 7 4; 23 8194; 31 2]
  };
end
