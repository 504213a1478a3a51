// A generic block is one row of the catalogue: name, variant, expected
// parameter count, rule set and whether it has an (empty) update method.
//
//   ZEVK_GENERIC_BLOCK(ZEVK_TCC_PWM, DynamicCode, 7, UnsignedRules, WithUpdate);
#pragma once

#include "engine/typed_ports.h"
#include "glue/block.h"

namespace engine {

// The words a catalogue row is written in.
namespace catalogue {
inline constexpr Variant DynamicCode = Variant::DynamicCode;
inline constexpr Variant FixedCode = Variant::FixedCode;
inline constexpr Variant AllDynamic = Variant::AllDynamic;
inline constexpr RuleSet NoRules = RuleSet::None;
inline constexpr RuleSet UnsignedRules = RuleSet::Unsigned;
inline constexpr RuleSet IntegerRules = RuleSet::Integer;
inline constexpr RuleSet AllDynamicRules = RuleSet::AllDynamic;
inline constexpr bool WithUpdate = true;
inline constexpr bool NoUpdate = false;
}  // namespace catalogue

template <Variant V, int32_t N, RuleSet R, bool Update>
constexpr BlockMethods genericMethods() {
    static_assert(N == 7 || (N == 8 && V == Variant::FixedCode), "only fixed-code blocks take 8 parameters");
    static_assert((V == Variant::FixedCode) == (R == RuleSet::None),
                  "a block has propagation methods exactly when it can have dynamic inputs");
    static_assert((V == Variant::AllDynamic) == (R == RuleSet::AllDynamic),
                  "the all-dynamic variant goes with the all-dynamic rule set");
    BlockMethods m{};
    m.initializeSizes = mdlInitializeSizes<V, N>;
    m.update = Update;
    if constexpr (R != RuleSet::None) {
        m.setInputPortDataType = mdlSetInputPortDataType<R>;
        m.setDefaultPortDataTypes = mdlSetDefaultPortDataTypes<R>;
    }
    return m;
}

}  // namespace engine

#define ZEVK_GENERIC_BLOCK(NAME, VARIANT, NUM_PARAMS, RULES, UPDATE)                                  \
    namespace {                                                                                        \
    constexpr BlockMethods kGenericMethods =                                                           \
        engine::genericMethods<engine::catalogue::VARIANT, NUM_PARAMS, engine::catalogue::RULES,       \
                               engine::catalogue::UPDATE>();                                           \
    }                                                                                                  \
    ZEVK_BLOCK(NAME, engine::kGenericSampleTimeParam, kGenericMethods)
