function params = valid_params(name)
  % A full, valid dialog of each block (no bus codes), the base that the
  % bad-input sweep alters one parameter at a time.
  record = [2 3 4 zeros(1, 7)];
  switch name
    case {'ZEVK_BUS_SPI', 'ZEVK_BUS_I2C_MASTER'}
      params = {[0 -1], 5, [1 1], 1, {'BusA'}, 0.01, 3, 0};
    case {'ZEVK_Lcd_Output', 'ZEVK_C_function_Call'}
      params = {[0 5], 1, [record -1 zeros(1, 9)], record, {'BusA'}, 0.01, 3};
    case 'ZEVK_PWM_HighSpeed'
      params = {0.01, [0 1], 5, [1 1], 1, [7 5 0], [1 4 0], 3};
    case 'ZEVK_UART_Rx'
      params = {0.01, 1, -1, 2};
    case 'ZEVK_UART_Tx'
      params = {0.01, 1, 1, 0};
    case 'ZEVK_UART_TxMatlab'
      params = {0.01, [7 7 7]};
    case {'ZEVK_OC_SW', 'ZEVK_IC', 'ZEVK_QDEC_QORx', 'ZEVK_Digital_Input', 'ZEVK_Digital_Output_Read', ...
          'ZEVK_Digital_Output_Write', 'ZEVK_Digital_Output'}
      params = {0.01, [3 5], 7, 3};
    case 'ZEVK_ADC'
      params = {0.01, [3 5], [5 5], 3, [4 1]};
    case 'ZEVK_Interrupt'
      params = {0, 0, 0, 0, 32, 1, 2, 1e-6, 3};
    case 'ZEVK_IdleTask'
      params = {0, 0, 0, 0};
    case 'ZEVK_Reset'
      params = {0.01};
    case {'ZEVK_Lcd_Config', 'ZEVK_Master', 'ZEVK_TIMER_PIL_Profiling', 'ZEVK_EmptySFunction'}
      params = {1, 2};
    otherwise
      % the 7-parameter generic blocks
      params = {[0 -1], 5, [1 1], 1, {'BusA'}, 0.01, 3};
  end
end
