// "Keep Calibration": names the calibration user units read with now and adds it to the library.
#pragma once

#include "forms/Form.h"

namespace tavrolin {

class Program;

class KeepDialog : public Form {
public:
    explicit KeepDialog(Program& program);

    void Form_KeyDown(int& keyCode, int& shift) override;
    void Form_QueryClose() override;

    // Fills the line that says what would be kept, and empties the boxes.
    void Prepare();
    void KeepBtn_Click();
    void CancelBtn_Click();

    Label& NameLbl;
    TextBox& NameBox;
    Label& UnitLbl;
    TextBox& UnitBox;
    Label& Info;
    CommandButton& KeepBtn;
    CommandButton& CancelBtn;

private:
    Program& p_;
};

// Ctrl+S and the panel's button: the dialog, modal, its name box holding the focus.
void OpenKeepDialog(Program& program);

}  // namespace tavrolin
