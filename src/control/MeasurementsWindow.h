// "Measurements": the readings recorded so far, newest last. The user selects rows, copies them
// for a spreadsheet, deletes them, saves them as a CSV file or clears the log; the log file on
// disk is never rewritten: a change that removes rows sets the file aside under a dated name
// and starts a new one.
#pragma once

#include <string>

#include "forms/Form.h"

namespace tavrolin {

class Program;

class MeasurementsWindow : public Form {
public:
    explicit MeasurementsWindow(Program& program);

    void Form_Load() override;
    void Form_KeyDown(int& keyCode, int& shift) override;
    void Form_QueryClose() override;

    // The list shows the log as it is now; a row added since shows and comes into sight.
    void ShowRows();
    // Copies the selected rows, or every row when none is selected (Ctrl+C).
    void CopyBtn_Click();
    // Deletes the selected rows (Delete).
    void DeleteBtn_Click();
    void SaveBtn_Click();
    void ClearBtn_Click();
    void CloseBtn_Click();

    ListView& List;
    Label& Info;
    CommandButton& CopyBtn;
    CommandButton& DeleteBtn;
    CommandButton& SaveBtn;
    CommandButton& ClearBtn;
    CommandButton& CloseBtn;

private:
    // What the line under the list says: the file's trouble, or what was done last, or the
    // count of rows.
    void Say(const std::string& text, bool trouble = false);
    void ShowCount();

    Program& p_;
};

// The control window's button: shows the window, or brings it up again.
void OpenMeasurements(Program& program);

}  // namespace tavrolin
