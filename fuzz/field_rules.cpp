// Any text in the control window's boxes, judged by the rules alone: what the scale-bar box
// accepts is a length in range and stays as it is when judged again, the uncertainty is always
// 0 to 100, a settings field gives a value only inside its bounds, and a length the field shows
// is always one that Apply takes.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "control/FieldRules.h"
#include "settings/NumberText.h"

using namespace tavrolin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

    const ScaleVerdict scale = JudgeScaleText(text);
    if (scale.kind == ScaleVerdict::Accepted) {
        const double v = Val(scale.text);
        FUZZ_CHECK(std::isfinite(v) && v >= 0.0001 && v <= 1e7);
        const ScaleVerdict again = JudgeScaleText(scale.text);
        FUZZ_CHECK(again.kind == ScaleVerdict::Accepted && again.text == scale.text);
    } else if (scale.kind == ScaleVerdict::Pending) {
        FUZZ_CHECK(Val(scale.text) == 0);
    }

    const std::string uncertainty = ClampUncertaintyText(text);
    FUZZ_CHECK(IsNumeric(uncertainty));
    const double u = Val(uncertainty);
    FUZZ_CHECK(u >= 0 && u <= 100);
    FUZZ_CHECK(ClampUncertaintyText(uncertainty) == uncertainty);

    const double unit = (data[0] & 1) ? kInchTwips : kMillimetreTwips;
    for (int index = 0; index < 11; ++index) {
        const FieldKind kind = KindOfField(index);
        // The key filter: what passes is a digit, Backspace or, in a length, the point.
        const int key = data[0];
        if (FieldKeyAllowed(kind, key)) {
            FUZZ_CHECK(key == 8 || (key >= '0' && key <= '9') || (kind == FieldKind::Length && key == '.'));
        }
        const auto value = FieldValue(kind, text, unit);
        if (value) {
            FUZZ_CHECK(FieldTextPossible(kind, text, unit));
            FUZZ_CHECK(*value >= 1);
            FUZZ_CHECK(*value <= (kind == FieldKind::Length ? 32767 : 2000));
            if (kind == FieldKind::Length) {
                // What the field shows for the value, Apply takes again within half a display
                // step (a tenth of a millimetre, a thousandth of an inch) and the twip rounding.
                const double step = unit == kInchTwips ? unit / 1000 : unit / 10;
                const std::string shown = LengthText(*value, unit);
                const auto back = FieldValue(kind, shown, unit);
                if (*value * 2 >= step) {
                    FUZZ_CHECK(back.has_value());
                    FUZZ_CHECK(std::abs(*back - *value) <= step / 2 + 1);
                }
            }
        }
    }
    return 0;
}
