#pragma once
// FrmList: the split and build list window, a small modeless window owned by
// the main window. It collects time positions of the open document from the
// main window's selection (split points, or ranges to build from) and starts
// the output that writes the pieces or the built file.
//
// The rows are a ListRows model, shown by the list control LV; the model holds
// the rules (numbering, time order of split points, moves) and the time line
// reads its split marks from it. The window exists while it is open: closing
// it deletes it, and with it the rows.
#include <QPointer>
#include <QWidget>
#include <string>

#include "listwin/list_output.h"
#include "listwin/list_rows.h"

namespace kalvor {

class ButtonStrip;
class HeldKeyGuard;
class ImageButton;
class ListView;
class ListWindowHost;
class UpDownControl;

// CtrButtons' buttons.
inline constexpr int kAddButton = 0;      // "追加"
inline constexpr int kOutputButton = 1;   // "出力"
inline constexpr int kSilenceButton = 2;  // "無音で分割", split mode only

// The window keys' suffix of the list window's placement.
inline constexpr const char* kListPlacementSuffix = "List";

// The message panel while an output runs: "出力中… done/total".
std::string OutputProgressText(int done, int total);

class FrmList : public QWidget {
    Q_OBJECT
   public:
    // The mode is fixed for the window's life. The window is a child of the
    // host's owner window; nothing shows until Open.
    FrmList(ListWindowHost& host, ListMode mode);
    ~FrmList() override;

    // The load: the owner's icon, the place right of the owner, the font
    // fix-up when the program uses its own interface font, the main window's
    // editing menus off, the controls, the stored placement, then shown and open.
    void Open();

    ListMode Mode() const { return rows_.Mode(); }
    // Set at the end of Open, cleared when the window closes.
    bool ListWindowOpen() const { return open_; }
    const ListRows& Rows() const { return rows_; }
    // True while the output writes; the window cannot be closed meanwhile.
    bool OutputRunning() const { return outputRunning_; }

    // ---- The commands, as the controls start them ----
    // "追加": a row from the main window's selection.
    void AddClicked();
    // The delete button: the selected rows go.
    void DeleteClicked();
    // The up/down control (build mode): the selected row trades places with
    // the one above (upperHalf) or below.
    void MoveClicked(bool upperHalf);
    // Build mode: shows the selected row's range in the main window and plays it.
    void RowDoubleClicked();
    // "出力": asks for a name and writes the list.
    void OutputClicked();
    // "無音で分割" (split mode): a split point in the middle of every silence.
    void SilenceSplitClicked();

    // ---- Controls, named as the design names them ----
    ListView* LV() { return lv_; }
    ButtonStrip* CtrButtons() { return ctrButtons_; }
    ImageButton* DeleteButton() { return deleteButton_; }
    UpDownControl* UpDownItem() { return upDownItem_; }

   protected:
    void closeEvent(QCloseEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

   private:
    void CreateControls();
    void SetUpControls();
    void ApplyLayout();
    void Unload();
    // Shows the model's rows in LV, cell by cell.
    void ShowRows();
    // After LV removed its selected rows: marks as selected, in the model, the
    // rows LV no longer holds.
    void MarkRowsGoneFromList();
    void WriteOutput(const ListDocument& document, const std::string& outputName);

    ListWindowHost& host_;
    ListRows rows_;
    int twipsPerPixel_;
    bool open_ = false;
    bool outputRunning_ = false;

    HeldKeyGuard* heldKeys_ = nullptr;
    ListView* lv_ = nullptr;
    ButtonStrip* ctrButtons_ = nullptr;
    ImageButton* deleteButton_ = nullptr;
    UpDownControl* upDownItem_ = nullptr;
};

// The menus "分割" (split) and "ビルド" (build): opens a list window in mode
// unless window holds one that is open, in which case nothing changes (its
// mode included). True when a window was opened.
bool ShowListWindow(ListWindowHost& host, QPointer<FrmList>& window, ListMode mode);

}  // namespace kalvor
