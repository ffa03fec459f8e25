#include "picker/PickColor.h"

#include <algorithm>

#include "app/Program.h"
#include "crosshair/Crosshair.h"
#include "platform/WindowServices.h"
#include "ruler/Ruler.h"
#include "settings/NumberText.h"

namespace tavrolin {

namespace {

// Geometry, twips.
constexpr double kWidth = 4560, kHeight = 4500;
constexpr double kMargin = 150;
constexpr double kSwatchW = 435, kSwatchH = 300, kSwatchStep = 540, kSwatchRowStep = 360;
constexpr double kPaletteTop = 600;
constexpr double kBoxH = 330, kRowH = 300;

bool AllDigits(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

const std::array<Color, PickColor::kPaletteSize>& PickColor::PaletteColors() {
    // The first row holds the greys and the program's own defaults, so that a colour can
    // always be set back to where it started.
    static const std::array<Color, kPaletteSize> colors = {
        RGB(0, 0, 0),       RGB(64, 64, 64),    RGB(128, 128, 128), RGB(170, 170, 170),
        RGB(210, 210, 210), RGB(255, 255, 255), RGB(125, 0, 0),     RGB(60, 160, 20),
        RGB(255, 0, 0),     RGB(255, 128, 0),   RGB(255, 255, 0),   RGB(0, 255, 0),
        RGB(0, 255, 255),   RGB(0, 0, 255),     RGB(255, 0, 255),   RGB(128, 0, 128),
        RGB(128, 0, 0),     RGB(128, 128, 0),   RGB(0, 128, 0),     RGB(0, 128, 128),
        RGB(0, 0, 128),     RGB(150, 75, 0),    RGB(255, 192, 203), RGB(173, 216, 230),
    };
    return colors;
}

const char* PickColor::ItemName(int index) {
    static const char* kNames[] = {"Ruler Background",     "Center Tick Mark",
                                   "Primary Tick Marks",   "Secondary Tick Marks",
                                   "Other Tick Marks",     "Measurement Crosshairs",
                                   "Scale Crosshairs"};
    return kNames[std::clamp(index, 0, 6)];
}

PickColor::PickColor(Program& program)
    : Form(program.backend(), "PickColor"),
      PickLbl(Add<Label>("PickLbl")),
      ItemLbl(Add<Label>("ItemLbl")),
      Preview(Add<Label>("Preview")),
      TransLbl(Add<Label>("TransLbl")),
      Transparency(Add<ScrollBar>("Transparency")),
      TransValue(Add<Label>("TransValue")),
      ApplyBtn(Add<CommandButton>("ApplyBtn")),
      CancelBtn(Add<CommandButton>("CancelBtn")),
      p_(program) {
    SetCaption("Pick Color");
    SetBorder(BorderStyle::Fixed);
    SetKeyPreview(true);
    Move(0, 0, kWidth, kHeight);

    PickLbl.SetCaption("Pick Color for:");
    PickLbl.Move(kMargin, 150, 1500, kRowH);
    ItemLbl.SetFontBold(true);
    ItemLbl.Move(1650, 150, kWidth - 1650 - kMargin, kRowH);

    const auto& colors = PaletteColors();
    for (int i = 0; i < kPaletteSize; ++i) {
        Label& swatch = Add<Label>("Palette", i);
        swatch.SetBackColor(colors[static_cast<std::size_t>(i)]);
        swatch.Move(kMargin + (i % 8) * kSwatchStep, kPaletteTop + (i / 8) * kSwatchRowStep,
                    kSwatchW, kSwatchH);
        swatch.onClick = [this, i] { Palette_Click(i); };
        Palette[static_cast<std::size_t>(i)] = &swatch;
    }

    const double rowsTop = kPaletteTop + 3 * kSwatchRowStep + 180;
    Preview.Move(kMargin, rowsTop, 1800, 3 * 390 - 60);
    Preview.SetToolTipText("The colour as it will be applied.");
    static const char* kChannelNames[] = {"Red", "Green", "Blue"};
    for (int k = 0; k < 3; ++k) {
        const auto i = static_cast<std::size_t>(k);
        const double y = rowsTop + k * 390;
        ChannelLbl[i] = &Add<Label>("ChannelLbl", k);
        ChannelLbl[i]->SetCaption(kChannelNames[k]);
        ChannelLbl[i]->Move(2250, y + 30, 1000, kRowH);
        Channel[i] = &Add<TextBox>("Channel", k);
        Channel[i]->Move(3300, y, 900, kBoxH);
        Channel[i]->SetToolTipText("0 to 255");
        Channel[i]->onChange = [this, k] { Channel_Change(k); };
        Channel[i]->onKeyPress = [this](int& key) { Channel_KeyPress(key); };
    }

    const double transTop = rowsTop + 3 * 390 + 90;
    TransLbl.SetCaption("Transparency");
    TransLbl.Move(kMargin, transTop, 2400, kRowH);
    TransValue.Move(kWidth - kMargin - 900, transTop, 900, kRowH);
    TransValue.SetAlignment(Label::Align::Right);
    Transparency.SetHorizontal(true);
    Transparency.SetRange(0, 255);
    Transparency.Move(kMargin, transTop + 330, kWidth - 2 * kMargin, 270);
    Transparency.SetToolTipText("0 is fully transparent, 255 fully opaque.");
    Transparency.onChange = [this] { Transparency_Change(); };

    ApplyBtn.SetCaption("Apply");
    CancelBtn.SetCaption("Cancel");
    ApplyBtn.Move(kWidth - kMargin - 2 * 1140 - 120, kHeight - 570, 1140, 420);
    CancelBtn.Move(kWidth - kMargin - 1140, kHeight - 570, 1140, 420);
    ApplyBtn.onClick = [this] { ApplyBtn_Click(); };
    CancelBtn.onClick = [this] { CancelBtn_Click(); };
}

int* PickColor::TransparencySetting() {
    auto& g = p_.g();
    switch (item_) {
        case kRulerBackground: return &g.RulerTransparency;
        case kMeasurementCrosshairs: return &g.CrosshairTransparency;
        case kScaleCrosshairs: return &g.ScaleCrossTransparency;
        default: return nullptr;
    }
}

void PickColor::Init_PickColor(int index) {
    auto& g = p_.g();
    item_ = std::clamp(index, 0, 6);
    ItemLbl.SetCaption(ItemName(item_));
    startColor_ = g.ColorChoice[static_cast<std::size_t>(item_)];
    color_ = startColor_;

    filling_ = true;
    const int channels[3] = {RedOf(color_), GreenOf(color_), BlueOf(color_)};
    for (int k = 0; k < 3; ++k) {
        const auto i = static_cast<std::size_t>(k);
        lastChannelText_[i] = std::to_string(channels[k]);
        Channel[i]->SetText(lastChannelText_[i]);
    }
    int* setting = TransparencySetting();
    const bool hasAlpha = setting != nullptr;
    startAlpha_ = hasAlpha ? std::clamp(*setting, 0, 255) : 255;
    Transparency.SetValue(startAlpha_);
    TransValue.SetCaption(std::to_string(startAlpha_));
    for (Control* c : {static_cast<Control*>(&TransLbl), static_cast<Control*>(&Transparency),
                       static_cast<Control*>(&TransValue)}) {
        c->SetEnabled(hasAlpha);
        c->SetVisible(hasAlpha);
    }
    filling_ = false;
    ShowColor();
}

void PickColor::ShowColor() { Preview.SetBackColor(color_); }

void PickColor::Palette_Click(int index) {
    if (index < 0 || index >= kPaletteSize) return;
    color_ = PaletteColors()[static_cast<std::size_t>(index)];
    filling_ = true;
    const int channels[3] = {RedOf(color_), GreenOf(color_), BlueOf(color_)};
    for (int k = 0; k < 3; ++k) {
        const auto i = static_cast<std::size_t>(k);
        lastChannelText_[i] = std::to_string(channels[k]);
        Channel[i]->SetText(lastChannelText_[i]);
    }
    filling_ = false;
    ShowColor();
}

void PickColor::Channel_KeyPress(int& keyAscii) {
    const bool digit = keyAscii >= '0' && keyAscii <= '9';
    if (!digit && keyAscii != kKeyBack) keyAscii = 0;
}

void PickColor::Channel_Change(int channel) {
    if (filling_ || channel < 0 || channel > 2) return;
    const auto i = static_cast<std::size_t>(channel);
    TextBox& box = *Channel[i];
    const std::string& text = box.Text();
    // An empty box is a value being typed; it counts as 0 until then.
    if (!AllDigits(text) || text.size() > 3 || Val(text) > 255) {
        filling_ = true;
        box.SetText(lastChannelText_[i]);
        filling_ = false;
        return;
    }
    lastChannelText_[i] = text;
    int v[3];
    for (int k = 0; k < 3; ++k) {
        v[k] = RoundHalfEven(Val(Channel[static_cast<std::size_t>(k)]->Text()));
    }
    color_ = RGB(v[0], v[1], v[2]);
    ShowColor();
}

void PickColor::ApplyTransparency(int alpha) {
    int* setting = TransparencySetting();
    if (setting == nullptr) return;
    auto value = static_cast<std::int16_t>(std::clamp(alpha, 0, 255));
    Platform& platform = p_.platform();
    auto apply = [&](Form& window) {
        std::int32_t hwnd = window.hWnd();
        SetTransparency(platform, value, hwnd);
    };
    // Both windows of a pair, the first one first.
    switch (item_) {
        case kRulerBackground: apply(p_.ruler()); break;
        case kMeasurementCrosshairs:
            apply(p_.cross0());
            apply(p_.cross1());
            break;
        default:
            apply(p_.scale0());
            apply(p_.scale1());
            break;
    }
    *setting = value;
}

void PickColor::Transparency_Change() {
    TransValue.SetCaption(std::to_string(Transparency.Value()));
    if (filling_) return;
    ApplyTransparency(Transparency.Value());
}

void PickColor::ApplyBtn_Click() {
    p_.g().ColorChoice[static_cast<std::size_t>(item_)] = color_;
    Hide();
}

void PickColor::CancelBtn_Click() {
    p_.g().ColorChoice[static_cast<std::size_t>(item_)] = startColor_;
    // Its Change handler gives the windows and the setting the starting value back.
    if (Transparency.Enabled()) Transparency.SetValue(startAlpha_);
    Hide();
}

void PickColor::Form_KeyDown(int& keyCode, int&) {
    if (keyCode == kKeyEscape) {
        keyCode = 0;
        CancelBtn_Click();
    } else if (keyCode == kKeyReturn) {
        keyCode = 0;
        ApplyBtn_Click();
    }
}

void PickColor::Form_QueryClose() { CancelBtn_Click(); }

void PickItemColor(Program& program, int item, const std::function<void(Color chosen)>& show) {
    PickColor& picker = program.pickColor();
    picker.Load();
    picker.Init_PickColor(item);
    picker.ShowModal();
    show(program.g().ColorChoice[static_cast<std::size_t>(item)]);
    program.Unload(picker);
}

}  // namespace tavrolin
