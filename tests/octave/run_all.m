function run_all(mexdir)
  % The deliverables in GNU Octave: the command-line sizes query of every
  % block, the argument errors as Octave reports them, forged record
  % pointers and parameters of every class. Ends with one line
  % "octave: N passed, M failed" from which the runner decides.
  here = fileparts(mfilename('fullpath'));
  addpath(here);
  addpath(mexdir);
  tally('reset');
  blocks = block_names();

  % Every deliverable must be there, under the name Octave looks for, and
  % be the one in mexdir.
  present = {};
  for b = 1:numel(blocks)
    name = blocks{b};
    file = fullfile(mexdir, [name '.mex']);
    found = isfile(file) && exist(name) == 3 && strcmp(which(name), file);
    tally(found, sprintf('%s: no %s', name, file));
    if found
      present{end + 1} = name;
    end
  end

  sections = {
    'generic blocks',         @() check_sizes_table(generic_cases())
    'N-dimensional blocks',   @() check_sizes_table(ndim_cases())
    'high-speed PWM',         @() check_sizes_table(pwm_highspeed_cases())
    'UART blocks',            @() check_sizes_table(uart_cases())
    'fixed-layout blocks',    @() check_sizes_table(fixed_layout_cases())
    'asynchronous tasks',     @() check_sizes_table(async_task_cases())
    'reset and configuration', @() check_sizes_table(reset_config_cases())
    'argument errors',        @() check_errors(blocks)
    'bus-name conversion',    @() check_bus_name_errors()
    'forged record pointers', @() check_forged_pointer(present)
    'parameters of every class', @() check_bad_input(present)
  };
  for s = 1:rows(sections)
    [before, beforeFailed] = tally();
    try
      sections{s, 2}();
    catch e
      tally(false, sprintf('%s stopped: %s', sections{s, 1}, e.message));
    end
    [after, afterFailed] = tally();
    printf('%-28s %5d passed, %d failed\n', sections{s, 1}, after - before, afterFailed - beforeFailed);
  end

  % A zero-result call still answers.
  try
    ZEVK_IC([], [], [], 0, 0.01, [3 5], 7, 3);
    tally(isequal(ans([3 4 8]), [2; 3; 4]), 'ZEVK_IC called for no result');
  catch e
    tally(false, e.message);
  end

  [passed, failed] = tally();
  printf('octave: %d passed, %d failed\n', passed, failed);
end
