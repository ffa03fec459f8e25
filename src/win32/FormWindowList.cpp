// A list as the common controls' list view in report mode with owner data: the control holds
// no rows, only their number, and asks for the text of each cell it paints, so that a hundred
// thousand rows open as fast as ten. It keeps the selection of its rows itself; what the user
// selects there is read back once the input that changed it has been handled, and what the
// program selects is set on it while the backend syncs.
//
// The control's column 0 is the rows' own label, which the system draws left aligned whatever
// its format says; it stays empty and of no width, and the model's columns are its sub-items
// 1 to n, each aligned as it says.
#include "win32/FormWindow.h"

#include <commctrl.h>

#include <iterator>
#include <string>
#include <vector>

#include "forms/Dispatch.h"
#include "win32/FormWindowParts.h"

namespace tavrolin::win32 {

namespace {

void SetRowState(HWND list, int row, UINT state, UINT mask) {
    LVITEMW item{};
    item.stateMask = mask;
    item.state = state;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// The model's changes of the view are no user's: their notifications are not handed back.
class Pushing {
  public:
    explicit Pushing(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
    ~Pushing() { flag_ = was_; }
    Pushing(const Pushing&) = delete;
    Pushing& operator=(const Pushing&) = delete;

  private:
    bool& flag_;
    bool was_;
};

}  // namespace

void FormWindow::SetUpList(HWND child) {
    const DWORD extended = LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER;
    SendMessageW(child, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
    LVCOLUMNW label{};
    label.mask = LVCF_FMT | LVCF_WIDTH;
    label.fmt = LVCFMT_LEFT;
    label.cx = 0;
    SendMessageW(child, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&label));
}

void FormWindow::ApplyList(ListView& list, View& view) {
    HWND w = view.child;
    ListShown& shown = view.list;
    Pushing pushing(pushingList_);

    const Color fore = list.ForeColor(), back = BackOf(&list);
    if (fore != view.fore || back != view.back) {
        // A list view paints with colours of its own, not with WM_CTLCOLOR's.
        SendMessageW(w, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(fore));
        SendMessageW(w, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(back));
        SendMessageW(w, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(back));
    }

    // Columns in pixels: a move to a monitor of another density gives them their new widths.
    const PixelScale s = Scale();
    std::vector<ListShown::Column> columns;
    columns.reserve(list.Columns().size());
    for (const ListView::Column& c : list.Columns()) {
        columns.push_back({Wide(c.header), s.ToPixelsX(c.width), c.number});
    }
    if (columns != shown.columns) {
        while (SendMessageW(w, LVM_DELETECOLUMN, 1, 0) != FALSE) {
        }
        for (std::size_t i = 0; i < columns.size(); ++i) {
            LVCOLUMNW column{};
            column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
            column.fmt = columns[i].number ? LVCFMT_RIGHT : LVCFMT_LEFT;
            column.cx = columns[i].width;
            column.pszText = columns[i].header.data();
            column.iSubItem = static_cast<int>(i + 1);
            SendMessageW(w, LVM_INSERTCOLUMNW, i + 1, reinterpret_cast<LPARAM>(&column));
        }
        shown.columns = std::move(columns);
    }

    const std::size_t rows = list.RowCount();
    if (shown.reset != list.ResetVersion()) {
        // Other rows altogether: all of them painted anew, none selected.
        SendMessageW(w, LVM_SETITEMCOUNT, rows, 0);
        SetRowState(w, -1, 0, LVIS_SELECTED);
        InvalidateRect(w, nullptr, TRUE);
        shown.reset = list.ResetVersion();
        shown.rows = rows;
    } else if (shown.rows != rows) {
        // Rows added at the end: the view stays where it is and keeps its selection.
        SendMessageW(w, LVM_SETITEMCOUNT, rows, LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
        shown.rows = rows;
    }

    if (shown.selection != list.SelectionVersion()) {
        SetRowState(w, -1, 0, LVIS_SELECTED);
        if (rows != 0 && list.SelectedCount() == rows) {
            SetRowState(w, -1, LVIS_SELECTED, LVIS_SELECTED);
        } else {
            for (std::size_t row : list.SelectedRows()) {
                SetRowState(w, static_cast<int>(row), LVIS_SELECTED, LVIS_SELECTED);
            }
        }
        shown.selection = list.SelectionVersion();
    }

    if (shown.scroll != list.ScrollVersion()) {
        if (list.ScrollRow() < rows) {
            SendMessageW(w, LVM_ENSUREVISIBLE, list.ScrollRow(), FALSE);
        }
        shown.scroll = list.ScrollVersion();
    }
}

bool FormWindow::ListHeaderNotify(const NMHDR& header, LRESULT& result) {
    // The rows' label column stays without width: neither the user's drag of its edge nor a
    // double click on it, nor Ctrl+Plus fitting every column, opens it. The header tells its
    // parent, the list, which would take these as the user's.
    const auto& nm = reinterpret_cast<const NMHEADERW&>(header);
    switch (header.code) {
        case HDN_BEGINTRACKW:
        case HDN_DIVIDERDBLCLICKW:
            result = TRUE;
            return nm.iItem == 0;
        case HDN_ITEMCHANGINGW:
            result = TRUE;
            return nm.iItem == 0 && nm.pitem != nullptr && (nm.pitem->mask & HDI_WIDTH) != 0 &&
                   nm.pitem->cxy != 0;
        default:
            return false;
    }
}

bool FormWindow::ListNotify(NMHDR& header, LRESULT& result) {
    HWND from = header.hwndFrom;
    Control* c = ControlOf(from);
    if (c == nullptr || c->Kind() != ControlKind::ListView) return false;
    auto& list = static_cast<ListView&>(*c);
    View& view = views_[c];

    switch (header.code) {
        case LVN_GETDISPINFOW: {
            auto& info = reinterpret_cast<NMLVDISPINFOW&>(header);
            if ((info.item.mask & LVIF_TEXT) == 0) break;
            std::wstring& text = view.list.cells[view.list.nextCell];
            view.list.nextCell = (view.list.nextCell + 1) % std::size(view.list.cells);
            text.clear();
            if (info.item.iItem >= 0 && info.item.iSubItem > 0) {
                text = Wide(list.Cell(static_cast<std::size_t>(info.item.iItem),
                                      static_cast<std::size_t>(info.item.iSubItem - 1)));
            }
            info.item.pszText = text.data();
            break;
        }
        case LVN_ODFINDITEMW:
            // Typing finds no row: the characters are the form's keys.
            result = -1;
            return true;
        case LVN_ITEMCHANGED:
        case LVN_ODSTATECHANGED: {
            bool selection = false;
            if (header.code == LVN_ITEMCHANGED) {
                const auto& nm = reinterpret_cast<const NMLISTVIEW&>(header);
                selection = (nm.uChanged & LVIF_STATE) != 0 &&
                            (nm.iItem < 0 || ((nm.uOldState ^ nm.uNewState) & LVIS_SELECTED) != 0);
            } else {
                const auto& nm = reinterpret_cast<const NMLVODSTATECHANGE&>(header);
                selection = ((nm.uOldState ^ nm.uNewState) & LVIS_SELECTED) != 0;
            }
            if (!selection || pushingList_ || backend_.Syncing() || view.list.selectionReport) {
                break;
            }
            // A click or Shift+End changes the selection in several steps, each told: the
            // model takes the end of them, once.
            view.list.selectionReport = true;
            PostMessageW(hwnd_, kMsgListSelection, reinterpret_cast<WPARAM>(from), 0);
            break;
        }
        default:
            break;
    }
    result = 0;
    return true;
}

void FormWindow::ReportListSelection(HWND child) {
    Control* c = ControlOf(child);
    if (c == nullptr || c->Kind() != ControlKind::ListView || form_ == nullptr) return;
    auto& list = static_cast<ListView&>(*c);
    views_[c].list.selectionReport = false;
    const auto count = static_cast<std::size_t>(SendMessageW(child, LVM_GETITEMCOUNT, 0, 0));
    const auto selected = static_cast<std::size_t>(SendMessageW(child, LVM_GETSELECTEDCOUNT, 0, 0));
    std::vector<std::size_t> rows;
    rows.reserve(selected);
    if (selected != 0 && selected == count) {
        // All of them: no walk through the rows one message at a time.
        for (std::size_t row = 0; row < count; ++row) rows.push_back(row);
    } else {
        for (LRESULT row =
                 SendMessageW(child, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
             row >= 0 && rows.size() < selected;
             row = SendMessageW(child, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED)) {
            rows.push_back(static_cast<std::size_t>(row));
        }
    }
    dispatch::SelectRows(list, rows);
}

}  // namespace tavrolin::win32
