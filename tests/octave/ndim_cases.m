function cases = ndim_cases()
  % The N-dimensional blocks: dimension records of ten numbers a port
  % instead of widths.
  scalar = [0 zeros(1, 9)];
  matrix = [2 3 4 zeros(1, 7)];
  open = [2 -1 4 zeros(1, 7)];
  dynamic = [-1 zeros(1, 9)];
  lcd = hex2dec('2001006') + 8192;
  listed = hex2dec('20') + 8192;
  full = @(in, out, opts) [2 out; 3 in; 6 1; 7 7; 23 opts; 31 2];
  cases = cell(0, 3);
  for b = {'ZEVK_Lcd_Output', 'ZEVK_C_function_Call'}
    name = b{1};
    % The call block's options word changes once it lists an output.
    if strcmp(name, 'ZEVK_C_function_Call')
      withOutputs = listed;
    else
      withOutputs = lcd;
    end
    rows_ = {
      {0, 0, scalar, matrix, {}, 0.01, 0},                            full(1, 1, withOutputs)
      {[0 5], [1 2], [matrix dynamic], [open scalar], {}, 0.01, 3},   full(3, 3, withOutputs)
      {[], [], [], [], {}, 0.01, 2},                                  full(0, 1, lcd)
      {[], [], [], [], {}, 0.01, 1},                                  full(1, 0, lcd)
      {[-1 -7], [], [scalar scalar], [], {}, 0.01, 0},               full(2, 0, lcd)
      {100, 100, matrix, matrix, {'BusA'}, 0.01, 0},                  full(1, 1, withOutputs)
      % A record shorter than ten numbers reads its missing count as a
      % dynamically sized port.
      {[0 0], 0, [2 3], [], {}, 0.01, 0},                             full(2, 1, withOutputs)
    };
    for r = 1:rows(rows_)
      cases(end + 1, :) = {name, rows_{r, 1}, rows_{r, 2}};
    end
    for n = [0 6 8]
      cases(end + 1, :) = {name, repmat({0}, 1, n), [7 7]};
    end
  end
end
