function cases = pwm_highspeed_cases()
  % The high-speed PWM: sample time first, ids and widths as they stand,
  % trigger work vectors that a command-line record cannot register.
  name = 'ZEVK_PWM_HighSpeed';
  full = @(in, out) [2 out; 3 in; 6 1; 7 8; 23 8194; 31 2];
  cases = {
    name, {0.01, [0 1], 5, [1 1], 1, [7 5 0], [1 4 0], 3}, full(3, 2)
    name, {0.01, [], [], [], [], [], [], 3},               full(1, 1)
    name, {0.01, -1, [], -1, [], [], [], 0},               full(1, 0)
    name, {0.01, [], [8 8], [], [0 4], 7, 1.5, 2.9},       full(0, 3)
    name, {0.01, [], [], [], [], zeros(1, 12), ones(1, 12), 0}, full(0, 0)
    name, {},                                              [7 8]
    name, repmat({0}, 1, 7),                               [7 8]
    name, repmat({0}, 1, 9),                               [7 8]
  };
end
