function check_sizes_table(cases)
  % Each row: {block, dialog parameters, [entry value] rows}. The whole
  % 40-by-1 vector is compared, so an entry set by mistake fails too.
  for k = 1:rows(cases)
    [block, params, entries] = cases{k, :};
    label = sprintf('%s with %s', block, describe_params(params));
    [v, err] = sizes_call(block, params);
    if ~isempty(err)
      tally(false, sprintf('%s: error "%s"', label, err.message));
      continue;
    end
    want = expected_sizes(entries);
    ok = isa(v, 'double') && isreal(v) && isequal(size(v), [40 1]) && isequal(v, want);
    if ~ok
      diffs = '';
      if isequal(size(v), [40 1])
        for i = find(v ~= want)'
          diffs = [diffs sprintf(' entry %d is %.17g, expected %.17g;', i - 1, v(i), want(i))];
        end
      else
        diffs = sprintf(' got a %s of size %s', class(v), mat2str(size(v)));
      end
      tally(false, [label ':' diffs]);
    else
      tally(true);
    end
  end
end
