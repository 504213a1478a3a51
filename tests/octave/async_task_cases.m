function cases = async_task_cases()
  % The interrupt and idle task: one function-call output, work counts,
  % flag bits and an options word; the asynchronous attributes need the
  % host's generic function, which a command-line record has not.
  flags = 2 + 2^20;
  irq = @(options) [2 1; 6 1; 7 9; 8 1; 10 1; 23 options + 8192; 31 flags];
  wide = hex2dec('10000022');
  cases = {
    % parameters 0-3 unread, timer size, options selector, timing source,
    % resolution, priority
    'ZEVK_Interrupt', {0, 0, 0, 0, 32, 1, 2, 1e-6, 3},   irq(wide)
    'ZEVK_Interrupt', {0, 0, 0, 0, 16, 1, 3, 1e-3, 0.015}, irq(wide)
    'ZEVK_Interrupt', {0, 0, 0, 0, 32, 0, 1, 0, -2},     irq(98)
    'ZEVK_Interrupt', {0, 0, 0, 0, 32, 2, 2.9, 0, 1},    irq(98)
    % A refused timing source is the record's error status, which a
    % command-line query does not report.
    'ZEVK_Interrupt', {0, 0, 0, 0, 32, 1, 4, 0, 1},      irq(wide)
    'ZEVK_Interrupt', {0, 0, 0, 0, 32, 1, 0, 0, 1},      irq(wide)
    'ZEVK_Interrupt', repmat({1}, 1, 8),                 [7 9]
    'ZEVK_Interrupt', repmat({1}, 1, 10),                [7 9]
    'ZEVK_IdleTask',  {0, 0, 0, 0},                      [2 1; 6 1; 7 4; 23 wide + 8192; 31 flags]
    'ZEVK_IdleTask',  {'a', {}, -5, [1 2 3]},            [2 1; 6 1; 7 4; 23 wide + 8192; 31 flags]
    'ZEVK_IdleTask',  {0, 0, 0},                         [7 4]
    'ZEVK_IdleTask',  {},                                [7 4]
  };
end
