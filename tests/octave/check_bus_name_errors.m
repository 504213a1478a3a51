function check_bus_name_errors()
  % A bus name that is not text ends the call with the conversion error
  % and its identifier, on an input or an output bus port.
  id = 'MATLAB:explore:invalidStringArray';
  text = 'Could not convert string data.';
  generic = {'ZEVK_TCC_PWM', 'ZEVK_PDEC', 'ZEVK_MSI', 'ZEVK_AFEC_QOR7x', 'ZEVK_OP_AMP', ...
             'ZEVK_SECONDARY_CORE', 'ZEVK_PWM_QOR7x', 'ZEVK_MCPWM', 'ZEVK_ACC_QORx', 'ZEVK_BUS_SPI', ...
             'ZEVK_ADC_HighSpeed_SAR_tvREN', 'ZEVK_BUS_I2C_MASTER', 'ZEVK_HighSpeed_AnalogComparator', ...
             'ZEVK_PGA', 'ZEVK_MCU_OVERLOAD', 'ZEVK_ADC_HighSpeed_SAR', 'ZEVK_Tasks_State', ...
             'ZEVK_PWM_HighSpeed_Override'};
  eightParams = {'ZEVK_BUS_SPI', 'ZEVK_BUS_I2C_MASTER'};
  record = [2 3 4 zeros(1, 7)];
  % Octave has no unassigned cell: {[]} and cell(1) hold an empty double,
  % which is no text either.
  notText = {{5}, {[]}, cell(1, 1), {{'BusA'}}, {struct('n', 'BusA')}, {int8(65)}, {true}, {@sin}};
  for b = [generic {'ZEVK_Lcd_Output', 'ZEVK_C_function_Call'}]
    name = b{1};
    tail = repmat({0}, 1, any(strcmp(name, eightParams)));
    isNdim = strncmp(name, 'ZEVK_Lcd', 8) || strncmp(name, 'ZEVK_C_', 7);
    if isNdim
      widths = {record, record};
    else
      widths = {1, 1};
    end
    calls = {};
    for n = 1:numel(notText)
      % bus output 0
      calls{end + 1} = [{[], 100, widths{:}, notText{n}, 0.01, 0} tail];
    end
    if ~strcmp(name, 'ZEVK_PWM_HighSpeed_Override')
      % bus input 0: the all-dynamic block has no bus inputs
      calls{end + 1} = [{100, [], widths{:}, {5}, 0.01, 0} tail];
      % the second name is the bad one
      calls{end + 1} = [{[100 101], [], [widths{1} widths{1}], widths{2}, {'BusA', 7}, 0.01, 0} tail];
    end
    for k = 1:numel(calls)
      got = [];
      try
        feval(name, [], [], [], 0, calls{k}{:});
      catch e
        got = e;
      end
      want = sprintf('%s: %s', name, text);
      ok = ~isempty(got) && strcmp(got.identifier, id) && strcmp(got.message, want);
      if isempty(got)
        detail = 'no error';
      else
        detail = sprintf('[%s] "%s"', got.identifier, got.message);
      end
      tally(ok, sprintf('%s bus-name call %d: %s, expected [%s] "%s"', name, k, detail, id, want));
    end
    % Text of every shape is converted: a row, a column, an empty name.
    for names = {{'BusA'}, {['Bu'; 'sA']}, {''}, {"BusA"}}
      params = [{[], 100, widths{:}, names{1}, 0.01, 0} tail];
      [v, err] = sizes_call(name, params);
      if isempty(err)
        detail = mat2str(v');
      else
        detail = err.message;
      end
      tally(isempty(err) && numel(v) == 40 && v(3) == 1, ...
            sprintf('%s with bus name %s: %s', name, describe_params(names{1}), detail));
    end
  end
end
