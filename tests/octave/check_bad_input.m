function check_bad_input(blocks)
  % Every parameter of every deliverable, replaced in turn by each odd
  % value. The defined answer: a value with numeric data (double, single,
  % integer, logical, char; complex ones by their real part; any shape, in
  % storage order) counts exactly as the same numbers in double; a value
  % without (cell, struct, sparse, function handle) counts as empty. So each
  % call must give the vector of the same call with that stand-in, and
  % Octave must still be there to compare.
  values = odd_values();
  for b = 1:numel(blocks)
    name = blocks{b};
    base = valid_params(name);
    for p = 1:numel(base)
      for k = 1:numel(values)
        odd = base;
        odd{p} = values{k};
        same = base;
        same{p} = stand_in(values{k});
        [v, err] = sizes_call(name, odd);
        [want, wantErr] = sizes_call(name, same);
        ok = isempty(err) && isempty(wantErr) && isequal(v, want) && numel(v) == 40;
        if ~ok
          detail = '';
          if ~isempty(err)
            detail = err.message;
          elseif ~isempty(wantErr)
            detail = ['stand-in: ' wantErr.message];
          elseif numel(v) == 40 && numel(want) == 40
            detail = mat2str(find(v ~= want)' - 1);
          end
          tally(false, sprintf('%s parameter %d = %s: %s', name, p - 1, describe_params(values(k)), detail));
        else
          tally(true);
        end
      end
    end
    % The three arguments before the flag: ignored, or no record pointer.
    [plain, err] = sizes_call(name, base);
    for k = 1:numel(values)
      for slot = 1:3
        args = {[], [], [], 0, base{:}};
        args{slot} = values{k};
        got = [];
        try
          got = feval(name, args{:});
        catch e
          got = e.message;
        end
        tally(isempty(err) && isequal(got, plain), ...
              sprintf('%s argument %d = %s changed the answer', name, slot, describe_params(values(k))));
      end
    end
  end
  check_sizes_table(bad_input_cases());
end

function s = stand_in(x)
  if (isnumeric(x) || islogical(x) || ischar(x)) && ~issparse(x)
    s = double(real(x));
  else
    s = [];
  end
end
