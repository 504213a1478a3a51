function [v, err] = sizes_call(block, params, second)
  % The command-line sizes query: three unused arguments and flag 0, then the
  % dialog parameters. `second` replaces the record-pointer argument.
  if nargin < 3
    second = [];
  end
  v = [];
  err = [];
  try
    v = feval(block, [], second, [], 0, params{:});
  catch e
    err = e;
  end
end
