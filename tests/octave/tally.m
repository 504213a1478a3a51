function varargout = tally(varargin)
  % Counts checks across the suite: tally(ok, label) records one,
  % tally('reset') starts over, [passed, failed] = tally() reads the counts.
  persistent passed failed
  if isempty(passed)
    passed = 0;
    failed = 0;
  end
  if nargin == 0
    varargout = {passed, failed};
  elseif ischar(varargin{1})
    passed = 0;
    failed = 0;
  else
    if varargin{1}
      passed = passed + 1;
    else
      failed = failed + 1;
      printf('FAIL: %s\n', varargin{2});
    end
  end
end
