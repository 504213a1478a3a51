function cases = generic_cases()
  % The eighteen generic blocks: typed port lists from parameters 0 to 4 and
  % 6, sample time in parameter 5; the 8-parameter blocks never read the last.
  blocks = {
    'ZEVK_TCC_PWM',                    7, 'dynamic'
    'ZEVK_PDEC',                       7, 'dynamic'
    'ZEVK_MSI',                        7, 'dynamic'
    'ZEVK_AFEC_QOR7x',                 7, 'dynamic'
    'ZEVK_OP_AMP',                     7, 'dynamic'
    'ZEVK_SECONDARY_CORE',             7, 'dynamic'
    'ZEVK_PWM_QOR7x',                  7, 'dynamic'
    'ZEVK_MCPWM',                      7, 'dynamic'
    'ZEVK_ACC_QORx',                   7, 'dynamic'
    'ZEVK_BUS_SPI',                    8, 'fixed'
    'ZEVK_ADC_HighSpeed_SAR_tvREN',    7, 'fixed'
    'ZEVK_BUS_I2C_MASTER',             8, 'fixed'
    'ZEVK_HighSpeed_AnalogComparator', 7, 'fixed'
    'ZEVK_PGA',                        7, 'fixed'
    'ZEVK_MCU_OVERLOAD',               7, 'fixed'
    'ZEVK_ADC_HighSpeed_SAR',          7, 'fixed'
    'ZEVK_Tasks_State',                7, 'fixed'
    'ZEVK_PWM_HighSpeed_Override',     7, 'all-dynamic'
  };
  opts = 2 + 8192;
  cases = cell(0, 3);
  for b = 1:rows(blocks)
    [name, P] = blocks{b, 1:2};
    tail = repmat({0}, 1, P - 7);  % the unread eighth parameter
    full = @(in, out) [2 out; 3 in; 6 1; 7 P; 23 opts; 31 2];
    rows_ = {
      % input codes, output codes, widths, bus names, sample time, option bits
      {[0 -1], 5, [1 1], 1, {}, 0.01, 3},            full(3, 2)
      {[0 -1 -7 8], [5 6], [1 2 -3 0], [4 1], {}, [0.01 0.005], 0}, full(4, 2)
      {[], [], [], [], {}, 0.01, 1},                 full(1, 0)
      {[], [], [], [], {}, 0.01, 2.9},               full(0, 1)
      {[], [], [], [], {}, 0.01, 3},                 full(1, 1)
      {1, 1, 1, 1, {}, 0.01, 4},                     full(1, 1)
      {[], [], [], [], {}, [], 0},                   full(0, 0)
      % Bus codes: a sizes call only registers no type, and a code past
      % the list is no bus port; the ports are declared all the same.
      {100, 100, 1, 1, {'BusA'}, 0.01, 0},           full(1, 1)
      {[101 100], 101, [1 1], 1, {'BusA', 'BusB'}, 0.01, 3}, full(3, 2)
      {101, 101, 1, 1, {'BusA'}, 0.01, 0},           full(1, 1)
      {100, 100, 1, 1, {}, 0.01, 0},                 full(1, 1)
      % Widths shorter than the codes are not read past their end.
      {[0 0 0], [0 0], 1, [], {}, 0.01, 0},          full(3, 2)
      % Lists are not limited to 255 ports.
      {zeros(1, 300), zeros(1, 256), ones(1, 300), ones(1, 256), {}, 0.01, 3}, full(301, 257)
    };
    for r = 1:rows(rows_)
      cases(end + 1, :) = {name, [rows_{r, 1} tail], rows_{r, 2}};
    end
    % Another parameter count declares the expected count and nothing else.
    for n = unique([0 6 P - 1 P + 1])
      cases(end + 1, :) = {name, repmat({1}, 1, n), [7 P]};
    end
  end
  % The eighth parameter is counted but never read.
  for name = {'ZEVK_BUS_SPI', 'ZEVK_BUS_I2C_MASTER'}
    for last = {0, 'x', {}, [1 2 3], struct('a', 1)}
      cases(end + 1, :) = {name{1}, {[0 1], 5, [1 1], 1, {}, 0.01, 1, last{1}}, [2 1; 3 3; 6 1; 7 8; 23 opts; 31 2]};
    end
  end
  % The example of a typed-port block with a dynamic integer input.
  cases(end + 1, :) = {'ZEVK_TCC_PWM', {-7, 5, 1, 1, {}, 0.001, 1}, [2 1; 3 2; 6 1; 7 7; 23 opts; 31 2]};
end
