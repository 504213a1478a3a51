function cases = fixed_layout_cases()
  % The fixed-layout peripheral blocks: one data type id a port, option
  % bits for the extra boolean ports.
  blocks = {
    'ZEVK_OC_SW',                4, 2
    'ZEVK_IC',                   4, 2
    'ZEVK_QDEC_QORx',            4, 2
    'ZEVK_Digital_Input',        4, 2
    'ZEVK_Digital_Output_Read',  4, 2
    'ZEVK_ADC',                  5, 2
    'ZEVK_Digital_Output_Write', 4, hex2dec('2001006')
    'ZEVK_Digital_Output',       4, hex2dec('2001006')
  };
  cases = cell(0, 3);
  for b = 1:rows(blocks)
    [name, P, options] = blocks{b, :};
    full = @(in, out) [2 out; 3 in; 6 1; 7 P; 23 options + 8192; 31 2];
    widths = repmat({[4 1]}, 1, P - 4);  % the ADC's output widths
    rows_ = {
      {0.01, [3 5], 7, 3},          full(3, 2)
      {0.01, [3 5], 7, 0},          full(2, 1)
      {0.01, [], [], 1},            full(1, 0)
      {0.01, [], [], 2.9},          full(0, 1)
      {0.01, [6.7 -1 105], [8 8], 0}, full(3, 2)
      {[0.01 0], [], [5 5], 4},     full(0, 2)
    };
    for r = 1:rows(rows_)
      cases(end + 1, :) = {name, [rows_{r, 1} widths], rows_{r, 2}};
    end
    for n = [0 P - 1 P + 1]
      cases(end + 1, :) = {name, repmat({0}, 1, n), [7 P]};
    end
  end
  % The ADC reads its widths for every output, not past the end.
  cases(end + 1, :) = {'ZEVK_ADC', {0.01, [], [5 5 5], 0, 4}, [2 3; 6 1; 7 5; 23 8194; 31 2]};
end
