// Every deliverable of the 64-bit build, in the catalogue's order. Written
// out rather than taken from the blocks folder, so that a block whose source
// goes missing fails the tests instead of leaving them.
#pragma once

#include <array>
#include <string_view>

namespace zevk::test {

inline constexpr std::array<std::string_view, 39> kBlockNames = {
    "ZEVK_TCC_PWM", "ZEVK_PDEC", "ZEVK_MSI", "ZEVK_AFEC_QOR7x", "ZEVK_OP_AMP", "ZEVK_SECONDARY_CORE",
    "ZEVK_PWM_QOR7x", "ZEVK_MCPWM", "ZEVK_ACC_QORx", "ZEVK_BUS_SPI", "ZEVK_ADC_HighSpeed_SAR_tvREN",
    "ZEVK_BUS_I2C_MASTER", "ZEVK_HighSpeed_AnalogComparator", "ZEVK_PGA", "ZEVK_MCU_OVERLOAD",
    "ZEVK_ADC_HighSpeed_SAR", "ZEVK_Tasks_State", "ZEVK_PWM_HighSpeed_Override", "ZEVK_Lcd_Output",
    "ZEVK_C_function_Call", "ZEVK_PWM_HighSpeed", "ZEVK_UART_Rx", "ZEVK_UART_Tx", "ZEVK_UART_TxMatlab",
    "ZEVK_OC_SW", "ZEVK_IC", "ZEVK_QDEC_QORx", "ZEVK_Digital_Input", "ZEVK_Digital_Output_Read", "ZEVK_ADC",
    "ZEVK_Digital_Output_Write", "ZEVK_Digital_Output", "ZEVK_Interrupt", "ZEVK_IdleTask", "ZEVK_Reset",
    "ZEVK_Lcd_Config", "ZEVK_Master", "ZEVK_TIMER_PIL_Profiling", "ZEVK_EmptySFunction"};

}  // namespace zevk::test
