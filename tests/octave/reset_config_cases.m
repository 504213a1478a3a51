function cases = reset_config_cases()
  % The reset sink and the four configuration-only blocks, which declare
  % nothing whatever they are given.
  cases = {
    'ZEVK_Reset', {0.01},        [3 1; 6 1; 7 1; 31 2]
    'ZEVK_Reset', {[0.01 0.005 7]}, [3 1; 6 1; 7 1; 31 2]
    'ZEVK_Reset', {},            [7 1]
    'ZEVK_Reset', {0.01, 0.02},  [7 1]
  };
  for b = {'ZEVK_Lcd_Config', 'ZEVK_Master', 'ZEVK_TIMER_PIL_Profiling', 'ZEVK_EmptySFunction'}
    for params = {{}, {1}, {1, 'two', {3}}}
      cases(end + 1, :) = {b{1}, params{1}, zeros(0, 2)};
    end
  end
end
