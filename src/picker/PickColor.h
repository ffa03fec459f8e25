// The colour picker: edits one colour item (the ruler background, a tick class, a crosshair
// pair) and, for the ruler and the crosshairs, its transparency.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "forms/Form.h"

namespace tavrolin {

class Program;

class PickColor : public Form {
public:
    explicit PickColor(Program& program);

    // Prepares the dialog for one ColorChoice item (0 to 6).
    void Init_PickColor(int index);

    void Form_KeyDown(int& keyCode, int& shift) override;
    void Form_QueryClose() override;

    void ApplyBtn_Click();
    void CancelBtn_Click();
    void Palette_Click(int index);
    void Channel_Change(int channel);  // 0 red, 1 green, 2 blue
    void Channel_KeyPress(int& keyAscii);
    void Transparency_Change();

    // The colour being edited, shown in the preview.
    Color EditColor() const { return color_; }
    int Item() const { return item_; }

    static constexpr int kPaletteSize = 24;
    static const std::array<Color, kPaletteSize>& PaletteColors();
    static const char* ItemName(int index);

    Label& PickLbl;
    Label& ItemLbl;
    std::array<Label*, kPaletteSize> Palette{};
    Label& Preview;
    std::array<Label*, 3> ChannelLbl{};
    std::array<TextBox*, 3> Channel{};
    Label& TransLbl;
    ScrollBar& Transparency;
    Label& TransValue;
    CommandButton& ApplyBtn;
    CommandButton& CancelBtn;

private:
    void ShowColor();
    // The transparency setting of the item, or null for a tick class.
    int* TransparencySetting();
    void ApplyTransparency(int alpha);

    Program& p_;
    int item_ = 0;
    Color color_ = 0;
    Color startColor_ = 0;
    int startAlpha_ = 255;
    std::array<std::string, 3> lastChannelText_{};
    bool filling_ = false;  // the dialog is filling its own boxes
};

// Opens the picker modally on one ColorChoice item; `show` then puts the item's colour, chosen
// or kept, on the windows that display it, while the picker is still loaded.
void PickItemColor(Program& program, int item, const std::function<void(Color chosen)>& show);

}  // namespace tavrolin
