#include "control/MeasurementsWindow.h"

#include <algorithm>
#include <cstdio>

#include "app/Program.h"
#include "control/MainWindow.h"
#include "control/MeasurementLog.h"
#include "forms/Backend.h"
#include "platform/Platform.h"
#include "settings/Settings.h"

namespace tavrolin {

namespace {
constexpr double kWidth = 14700;
constexpr double kHeight = 5700;
constexpr double kMargin = 120;
constexpr double kButtonWidth = 1500, kButtonHeight = 405;
constexpr Color kTroubleColor = RGB(192, 0, 0);

// Column widths in twips, wide enough for what each holds.
constexpr double kColumnWidths[] = {600,  1320, 1020, 1200, 1380, 900, 900,
                                    1020, 780,  1140, 1260, 1500, 1320};
}  // namespace

MeasurementsWindow::MeasurementsWindow(Program& program)
    : Form(program.backend(), "Measurements"),
      List(Add<ListView>("List")),
      Info(Add<Label>("Info")),
      CopyBtn(Add<CommandButton>("CopyBtn")),
      DeleteBtn(Add<CommandButton>("DeleteBtn")),
      SaveBtn(Add<CommandButton>("SaveBtn")),
      ClearBtn(Add<CommandButton>("ClearBtn")),
      CloseBtn(Add<CommandButton>("CloseBtn")),
      p_(program) {
    SetCaption("Measurements");
    SetBorder(BorderStyle::Fixed);
    SetKeyPreview(true);
    Move(0, 0, kWidth, kHeight);
    const double buttonsTop = kHeight - kMargin - kButtonHeight;
    List.Move(kMargin, kMargin, kWidth - 2 * kMargin, buttonsTop - 2 * kMargin - 300);
    Info.Move(kMargin, buttonsTop - kMargin - 270, kWidth - 2 * kMargin, 270);
    Info.SetWordWrap(false);
    std::vector<ListView::Column> columns;
    const auto& names = LogColumns();
    for (std::size_t i = 0; i < names.size(); ++i) {
        columns.push_back({names[i], kColumnWidths[i], IsFigureColumn(i)});
    }
    List.SetColumns(std::move(columns));
    List.cellText = [this](std::size_t row, std::size_t column) {
        const auto& rows = p_.log().Rows();
        return row < rows.size() ? LogField(rows[row], column) : std::string();
    };
    List.onChange = [this] { ShowCount(); };
    List.SetToolTipText("Ctrl+C copies the selected rows for a spreadsheet; Delete removes them.");

    CommandButton* buttons[] = {&CopyBtn, &DeleteBtn, &SaveBtn, &ClearBtn, &CloseBtn};
    const char* captions[] = {"Copy", "Delete", "Save As...", "Clear Log", "Close"};
    for (int i = 0; i < 5; ++i) {
        buttons[i]->SetCaption(captions[i]);
        buttons[i]->Move(kMargin + i * (kButtonWidth + kMargin), buttonsTop, kButtonWidth,
                         kButtonHeight);
    }
    CloseBtn.SetLeft(kWidth - kMargin - kButtonWidth);
    CopyBtn.SetToolTipText("Copy the selected rows, or all, as a table (Ctrl+C).");
    DeleteBtn.SetToolTipText("Remove the selected rows (Delete). The log file keeps them under a "
                             "dated name.");
    SaveBtn.SetToolTipText("Save every row as a CSV file.");
    ClearBtn.SetToolTipText("Start a new log. The log file keeps the rows under a dated name.");
    CopyBtn.onClick = [this] { CopyBtn_Click(); };
    DeleteBtn.onClick = [this] { DeleteBtn_Click(); };
    SaveBtn.onClick = [this] { SaveBtn_Click(); };
    ClearBtn.onClick = [this] { ClearBtn_Click(); };
    CloseBtn.onClick = [this] { CloseBtn_Click(); };
}

void MeasurementsWindow::Form_Load() {
    // Beside the control window on its monitor: to its right where that fits, else to its
    // left, else as far right as the monitor lets it be, and wholly on the monitor.
    const Form& control = p_.mainWindow();
    double left = control.Left() + control.Width() + 240, top = control.Top();
    const auto& monitors = backend().screen().Monitors;
    const double cx = control.Left() + control.Width() / 2, cy = control.Top() + control.Height() / 2;
    for (const ScreenRect& m : monitors) {
        if (cx < m.Left || cy < m.Top || cx >= m.Left + m.Width || cy >= m.Top + m.Height) continue;
        const double right = m.Left + m.Width, bottom = m.Top + m.Height;
        if (left + Width() > right) left = control.Left() - 240 - Width();
        if (left < m.Left) left = std::max(m.Left, right - Width());
        top = std::max(m.Top, std::min(top, bottom - Height()));
        break;
    }
    const auto place = OntoNearestMonitor({left, top, Width(), Height()}, monitors);
    Move(place.first, place.second);
    List.RowsReset(p_.log().Rows().size());
    if (List.RowCount() > 0) List.ScrollTo(List.RowCount() - 1);
    const std::string& problem = p_.log().FileProblem();
    if (!problem.empty()) {
        Say(problem + ": the readings are kept only while the program runs.", true);
    } else {
        ShowCount();
    }
    SetFocus(&List);
}

void MeasurementsWindow::ShowRows() {
    const std::size_t rows = p_.log().Rows().size();
    if (rows == List.RowCount()) return;
    List.RowsAdded(rows);
    if (rows > 0) List.ScrollTo(rows - 1);
    if (p_.log().FileProblem().empty()) ShowCount();
}

void MeasurementsWindow::Say(const std::string& text, bool trouble) {
    Info.SetForeColor(trouble ? kTroubleColor : 0);
    Info.SetCaption(text);
}

void MeasurementsWindow::ShowCount() {
    const std::size_t rows = List.RowCount(), selected = List.SelectedCount();
    std::string text = std::to_string(rows) + (rows == 1 ? " reading" : " readings");
    if (selected > 0) text += ", " + std::to_string(selected) + " selected";
    if (!p_.log().FileProblem().empty()) {
        Say(text + ". Not in a file: " + p_.log().FileProblem() + ".", true);
        return;
    }
    Say(text + ".");
}

void MeasurementsWindow::CopyBtn_Click() {
    const auto& all = p_.log().Rows();
    std::vector<LogRow> rows;
    if (List.SelectedCount() == 0) {
        rows = all;
    } else {
        for (std::size_t i : List.SelectedRows()) {
            if (i < all.size()) rows.push_back(all[i]);
        }
    }
    if (rows.empty()) return;
    Platform& platform = p_.platform();
    const std::string text = ClipboardRows(rows, platform.DecimalSeparator());
    const std::string counted =
        std::to_string(rows.size()) + (rows.size() == 1 ? " row" : " rows");
    if (platform.SetClipboardText(text)) {
        Say(counted + " copied.");
    } else {
        Say("The clipboard would not take the " + counted + ".", true);
    }
}

void MeasurementsWindow::DeleteBtn_Click() {
    if (List.SelectedCount() == 0) return;
    const std::string said = RemoveReadings(p_, List.SelectedRows(), false);
    List.RowsReset(p_.log().Rows().size());
    Say(said, !p_.log().FileProblem().empty());
}

void MeasurementsWindow::ClearBtn_Click() {
    if (p_.log().Rows().empty()) return;
    const std::string said = RemoveReadings(p_, {}, true);
    List.RowsReset(0);
    Say(said, !p_.log().FileProblem().empty());
}

void MeasurementsWindow::SaveBtn_Click() {
    const auto& g = p_.g();
    Platform& platform = p_.platform();
    std::string folder = g.ConfigPath;
    const std::size_t slash = folder.find_last_of("/\\");
    folder = slash == std::string::npos ? std::string() : folder.substr(0, slash);
    const LocalTime t = platform.Now();
    char date[16];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", t.date.year, t.date.month, t.date.day);
    const std::string suggested =
        platform.Join(folder, g.ConfigBaseName + " measurements " + date + ".csv");
    const std::string path =
        platform.AskSavePath("Save Measurements", suggested, "CSV files", "csv");
    if (path.empty()) return;
    const std::string problem = SaveReadings(p_, p_.log().Rows(), path);
    if (!problem.empty()) {
        Say(problem, true);
        return;
    }
    const std::size_t rows = p_.log().Rows().size();
    Say(std::to_string(rows) + (rows == 1 ? " row" : " rows") + " saved in " + path + ".");
}

void MeasurementsWindow::CloseBtn_Click() { Hide(); }

void MeasurementsWindow::Form_QueryClose() { CloseBtn_Click(); }

void MeasurementsWindow::Form_KeyDown(int& keyCode, int& shift) {
    const bool ctrl = (shift & kCtrlMask) != 0;
    if (ctrl && (keyCode == 'C' || keyCode == 'c')) {
        keyCode = 0;
        CopyBtn_Click();
    } else if (ctrl && (keyCode == 'A' || keyCode == 'a')) {
        keyCode = 0;
        std::vector<std::size_t> all(List.RowCount());
        for (std::size_t i = 0; i < all.size(); ++i) all[i] = i;
        List.SetSelectedRows(all);
    } else if (keyCode == kKeyDelete && FocusedControl() == &List) {
        keyCode = 0;
        DeleteBtn_Click();
    } else if (keyCode == kKeyEscape) {
        keyCode = 0;
        CloseBtn_Click();
    }
}

void OpenMeasurements(Program& program) {
    MeasurementsWindow& window = program.measurements();
    if (!window.Loaded()) {
        window.Load();
    } else {
        window.ShowRows();
    }
    window.Show();
}

}  // namespace tavrolin
