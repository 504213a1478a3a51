function check_errors(blocks)
  % The argument checks of every deliverable, as Octave reports a MEX error:
  % the function's name, a colon, then the text.
  for b = 1:numel(blocks)
    name = blocks{b};
    callName = sprintf('MEX level2 S-function "%s"', name);
    tooFewRight = sprintf('%s: %s must be called with at least 4 right hand arguments', name, callName);
    tooManyLeft = sprintf('%s: %s called with too many left hand arguments', name, callName);
    notInteger = sprintf('%s: The 4th right hand argument, FLAG, passed to %s must be an integer', name, callName);
    badFlag = sprintf('%s: Invalid flag passed to %s', name, callName);
    f = str2func(name);
    cases = {
      @() f(),                               1, tooFewRight
      @() f([], [], []),                     1, tooFewRight
      % Checked in order: the argument count before the results, the
      % results before the flag.
      @() f([], []),                         2, tooFewRight
      @() f([], [], [], 0),                  2, tooManyLeft
      @() f([], [], [], 1),                  3, tooManyLeft
      @() f([], [], [], 0.5),                1, notInteger
      @() f([], [], [], [0 0]),              1, notInteger
      @() f([], [], [], zeros(1, 1, 2)),     1, notInteger
      @() f([], [], [], []),                 1, notInteger
      @() f([], [], [], 'a'),                1, notInteger
      @() f([], [], [], false),              1, notInteger
      @() f([], [], [], {0}),                1, notInteger
      @() f([], [], [], struct('f', 0)),     1, notInteger
      @() f([], [], [], complex(0, 0)),      1, notInteger
      @() f([], [], [], sparse(0)),          1, notInteger
      @() f([], [], [], NaN),                1, notInteger
      @() f([], [], [], Inf),                1, notInteger
      @() f([], [], [], 2^31),               1, notInteger
      @() f([], [], [], int64(2^40)),        1, notInteger
      @() f([], [], [], 1),                  1, badFlag
      @() f([], [], [], -3),                 1, badFlag
      @() f([], [], [], int8(7)),            1, badFlag
      @() f([], [], [], single(-2^31)),      1, badFlag
    };
    for k = 1:rows(cases)
      [call, nout, want] = cases{k, :};
      check_error(sprintf('%s case %d', name, k), call, nout, want, '');
    end
    % A flag of another numeric class, or -0, is still the sizes query.
    for flag = {int32(0), single(0), uint8(0), -0}
      [v, err] = deal([], []);
      try
        v = f([], [], [], flag{1});
      catch e
        err = e;
      end
      tally(isempty(err) && numel(v) == 40 && v(20) == 8480229, ...
            sprintf('%s with flag %s of class %s', name, mat2str(flag{1}), class(flag{1})));
    end
  end
end

function check_error(label, call, nout, wantMessage, wantId)
  got = [];
  try
    switch nout
      case 1
        call();
      case 2
        [a, b] = call();
      otherwise
        [a, b, c] = call();
    end
  catch e
    got = e;
  end
  if isempty(got)
    tally(false, sprintf('%s: no error, expected "%s"', label, wantMessage));
  else
    ok = strcmp(got.message, wantMessage) && strcmp(got.identifier, wantId);
    tally(ok, sprintf('%s: got [%s] "%s", expected [%s] "%s"', label, got.identifier, got.message, ...
                      wantId, wantMessage));
  end
end
