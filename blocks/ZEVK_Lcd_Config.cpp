// ZEVK_Lcd_Config: configuration only; no parameters, ports or sample times.
#include "blocks/config_only.h"

ZEVK_CONFIG_ONLY_BLOCK(ZEVK_Lcd_Config);
