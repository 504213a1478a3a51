function s = describe_params(params)
  % A short printable form of a parameter list for failure messages.
  parts = cell(1, numel(params));
  for i = 1:numel(params)
    p = params{i};
    small = ndims(p) == 2 && numel(p) <= 12;
    if ischar(p) && small && rows(p) <= 1 && all(p >= ' ')
      parts{i} = ['''' p ''''];
    elseif ischar(p) && small
      parts{i} = sprintf('char(%s)', mat2str(double(p)));
    elseif (isnumeric(p) || islogical(p)) && small && ~issparse(p)
      parts{i} = mat2str(p);
    else
      parts{i} = sprintf('<%s %s>', class(p), mat2str(size(p)));
    end
  end
  s = ['(' strjoin(parts, ', ') ')'];
end
