function check_forged_pointer(blocks)
  % A record-pointer argument typed at the prompt: three rows and the
  % version, but no record of ours at the address. The glue checks that the
  % address is readable and tagged before it trusts it, and otherwise
  % answers from its own standalone record, exactly as for [].
  version = 8480229;
  forged = {
    [1; 2; version]                 % misaligned
    [0; 0; version]                 % null
    [8; 0; version]                 % unmapped first page
    [4096; 0; version]
    [-8; -1; version]               % kernel space
    [0; -2^31; version]             % not canonical
    [2^31 - 1; 2^31 - 1; version]
    [2^40; -2^40; version]          % rows out of the 32-bit range
    [0 0; 0 0; version version]     % more columns are not looked at
    int32([4096; 0; version])       % another numeric class, read by value
    single([0; 0; version])
  };
  % Readable addresses that hold no record: the starts of this process's
  % own readable mappings, including a deliverable's code.
  maps = readable_mappings();
  for k = 1:numel(maps)
    forged{end + 1} = address_argument(maps(k), version);
    forged{end + 1} = address_argument(maps(k) + 64, version);
  end
  % Not a pointer argument at all: also the standalone record.
  others = {[0; 0; version + 0.5], [0; version], complex([0; 0; version]), [0; 0; 0; version], ...
            sparse([0; 0; version]), {0; 0; version}, 'abc', int64([0; 0; version])};
  probes = [forged' others];

  for b = 1:numel(blocks)
    name = blocks{b};
    [plain, err] = sizes_call(name, {});
    if ~isempty(err)
      tally(false, sprintf('%s: %s', name, err.message));
      continue;
    end
    for k = 1:numel(probes)
      [v, err] = sizes_call(name, {}, probes{k});
      tally(isempty(err) && isequal(v, plain), ...
            sprintf('%s with record argument %s was not answered as standalone', name, ...
                    describe_params(probes(k))));
    end
  end
  % With parameters the block's whole sizes method runs on the fallback.
  params = {0.01, [3 5], 7, 3};
  plain = sizes_call('ZEVK_IC', params);
  for k = 1:numel(probes)
    v = sizes_call('ZEVK_IC', params, probes{k});
    tally(isequal(v, plain) && v(4) == 3, sprintf('ZEVK_IC with record argument %d', k));
  end
  printf('forged record pointers: %d tried on %d deliverables (%d readable addresses), each answered from the standalone record\n', ...
         numel(probes), numel(blocks), 2 * numel(maps));
end

function starts = readable_mappings()
  % Start addresses of readable mappings: the first few, and those of our
  % own deliverables.
  starts = [];
  seen = {};
  text = fileread('/proc/self/maps');
  lines = strsplit(text, "\n");
  for i = 1:numel(lines)
    tok = regexp(lines{i}, '^([0-9a-f]+)-[0-9a-f]+ r.*?(\S*ZEVK_\S*)?$', 'tokens', 'once');
    if isempty(tok)
      continue;
    end
    ours = numel(tok) > 1 && ~isempty(tok{2});
    if (numel(starts) < 4 && ~ours) || (ours && ~any(strcmp(seen, tok{2})))
      starts(end + 1) = hex2dec(tok{1});  % below 2^47: exact as a double
      if ours
        seen{end + 1} = tok{2};
      end
    end
  end
end

function arg = address_argument(address, version)
  % Low and high words, each as its signed 32-bit value.
  high = floor(address / 2^32);
  low = address - high * 2^32;
  arg = [signed32(low); signed32(high); version];
end

function s = signed32(u)
  s = u;
  if u >= 2^31
    s = u - 2^32;
  end
end
