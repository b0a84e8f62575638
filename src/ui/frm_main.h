#pragma once
// FrmMain: the editor's main window. It holds the open document and its
// playback object, shows the time line with its selection handles and slider,
// the information, message and transport panels, and carries the menus of the
// file, edit, tool and information commands.
//
// The window stays thin: its slots ask for a file name where a command needs
// one and hand over to the Document, which does the work and tells the window
// (as its DocumentSink) what to show. While a command runs the window takes no
// user input (InputGuard) but keeps painting.
//
// Where the time line's view model and the transport plug in is gathered in
// frm_main_view.cpp; the list window (FrmList) reaches the window through
// ListWindowHost (frm_main_list.cpp).
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>
#include <string>

#include "document/document.h"
#include "document/document_sink.h"
#include "playback/playback_control.h"
#include "playback/transport.h"
#include "tags/taglib_rewriter.h"
#include "ui/frm_list.h"
#include "ui/graph_player.h"
#include "ui/list_window_host.h"
#include "view/time_line_source.h"
#include "view/time_line_view.h"

class QAction;
class QMenu;
class QTimer;

namespace kalvor {

class ButtonStrip;
class C_FGraph;
class HandlePicture;
class HeldKeyGuard;
class InputGuard;
class LevelKeeper;
class PictureBox;
class ScrollSlider;
class TextPanel;
class TimeLinePicture;

// The play menu's entries, in order (entry k is play mode k).
inline constexpr int kPlayModes = 7;

class FrmMain : public QMainWindow, public ListWindowHost, private DocumentSink {
    Q_OBJECT
   public:
    explicit FrmMain(QWidget* parent = nullptr);
    ~FrmMain() override;

    // The start sequence: screen units, one instance, the program folder (the
    // chosen one, or programFolder when given) made current, the settings store,
    // caption, diagnostic switches, language and font, the controls, the stored
    // placement, show, the document reset, the register command, and the file
    // on the command line (double quotes removed, a relative path taken from
    // the folder the program started in). false when another kalvor already
    // runs: the file was handed to it, nothing was shown and the caller ends.
    bool Start(const std::string& commandLine, const std::string& programFolder = {});
    // The end sequence (also run when the window closes): lets go of the
    // playback object, stores the placement, closes the document (deleting the
    // working files), releases the fonts and the instance lock. Runs once.
    void End();
    bool Started() const { return document_ != nullptr; }

    // ---- The document's operations, for the window and the list window ----
    int OpenFile(const std::string& path);
    void InitAll();
    // Valid once Start has run.
    Document& Doc() { return *document_; }
    // The current playback object, or null while it is being replaced.
    C_FGraph* Graph() { return player_.Graph(); }
    int TwipsPerPixel() const { return twipsPerPixel_; }

    // Shows text in the message panel, repainting only when it changed.
    void DispMes(const std::string& text) override;
    // Recomputes the selection's times and shows them with the length in the
    // information panel.
    void DispInfo();
    // Repaints the time line.
    void DrawPicture() override;
    // While the list window is open the commands that change the document and
    // the file menu are unavailable.
    void SetEditMenusEnabled(bool enabled) override;

    // True while user input is kept away from the windows.
    bool InputBlocked() const;
    // Keeps user input away from every window until the matching release (the
    // calls nest); the windows keep painting.
    void HoldInput() override;
    void ReleaseInput() override;

    // Plays the selection in play mode 0..6.
    void PlaySelected(int mode) override;
    // A key released in this window or handed on by the list window; true when
    // it was used (then it goes no further).
    bool OnKeyReleased(int key) override;

    // ---- ListWindowHost (frm_main_list.cpp) ----
    QWidget* OwnerWindow() override { return this; }
    std::int32_t SelStartMs() const override;
    std::int32_t SelEndMs() const override;
    std::int32_t DurationMs() const override;
    std::string FileExt() const override;
    ListDocument DocumentForList() const override;
    std::vector<std::int32_t> SilenceSplitPoints() override;
    void DispSelected(std::int32_t pIn, std::int32_t pOut) override;
    void SetListRows(const ListRows* rows) override;
    // The open list window, or null.
    FrmList* ListWindow() { return list_; }

    // ---- Controls, named as the design names them ----
    PictureBox* PictureAll() { return pictureAll_; }
    TimeLinePicture* PictureSec() { return pictureSec_; }
    HandlePicture* PictureMark(int index) { return pictureMark_[index == 0 ? 0 : 1]; }
    ScrollSlider* SliderScroll() { return sliderScroll_; }
    PictureBox* PictureTool() { return pictureTool_; }
    TextPanel* PictureInfo() { return pictureInfo_; }
    TextPanel* PictureMes() { return pictureMes_; }
    ButtonStrip* PlayButtons() { return playButtons_; }
    ButtonStrip* EditorCtrl() { return editorCtrl_; }
    QTimer* TimerMCI() { return timerMci_; }
    // "編集(&E)", also the time line's right-click menu.
    QMenu* MenuMenu() { return menuMenu_; }
    QAction* MenuPlay(int k) { return menuPlay_[k < 0 || k >= kPlayModes ? 0 : k]; }
    QAction* MenuReg() { return menuReg_; }
    // "レベル表示": the levels behind the time line's scale, on or off.
    QAction* MenuShowLevels() { return menuShowLevels_; }
    // The levels of the document's versions, filled in by worker threads.
    const LevelKeeper& Levels() const { return *levels_; }

   protected:
    void closeEvent(QCloseEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

    // The list window in the given mode; nothing while it is open.
    virtual void OpenListWindow(ListMode mode);

   private:
    // DocumentSink
    void Message(const std::string& text) override;
    void Busy(bool on) override;
    void DocumentReset() override;
    void DocumentLoaded(LoadReason reason) override;
    void SelectionChanged() override;

    // Building the window (frm_main_controls.cpp, frm_main_menus.cpp)
    void CreateControls();
    void SetUpControls();
    void ApplyLayout();
    void CreateMenus();
    QAction* AddCommand(QMenu* menu, const char* name, const char* caption, void (FrmMain::*slot)(),
                        const QKeySequence& shortcut);
    QMenu* AddMenu(QWidget* parent, const char* name, const char* caption);
    // Shows every caption and label in the interface's language (after a
    // LanguageChange); captions are kept in Japanese beside their action.
    void RetranslateUi();
    void ShrinkToToolPanel();

    // Start and end steps (frm_main_lifecycle.cpp)
    void UseProgramFolder(const std::string& programFolder);
    // A file another start handed over (empty: none): the window comes forward
    // and opens it as a drop.
    void OnHandOver(const std::string& path);
    void ApplyFonts();

    // Menu commands (frm_main_commands.cpp)
    void MenuFileOpenClick();
    void MenuFileCloseClick();
    void MenuOverwriteClick();
    void MenuFileSaveAsClick();
    void MenuRegClick();
    void MenuDeleteClick();
    void MenuCutClick();
    void MenuCopyClick();
    void MenuPasteClick();
    void MenuSelectAllClick();
    void MenuUndoClick();
    void MenuPasteExClick();
    void MenuWriteToFileClick();
    void MenuDivideClick();
    void MenuBuildClick();
    void MenuDispMixClick();
    void MenuFileInfoClick();
    void MenuInfoClick();
    void MenuShowLevelsToggled(bool on);
    void ApplyShowLevels(bool on);
    std::string AskFileName(bool save);

    // The time line and the transport (frm_main_view.cpp)
    void ConnectViewAndTransport();
    void ConnectHandles();
    void PlayMenuChosen(int k);
    void OnViewWidthChanged(int viewWidthPx);
    void OnDocumentReset();
    void OnDocumentLoaded(LoadReason reason);
    void OnPictureSecMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, double x, double y);
    void OnFilesDropped(const QStringList& paths);
    void OnTimerTick();
    // Shows what the view model and the transport asked for.
    void Apply(const ViewAction& action);
    void Show(const TransportShow& show);
    TransportFacts Facts() const;

    int twipsPerPixel_ = kDefaultTwipsPerPixel;
    // Made before the document, which tells it of every version, and gone after it.
    std::unique_ptr<LevelKeeper> levels_;
    std::unique_ptr<Document> document_;
    GraphPlayer player_;
    TagLibRewriter tagRewriter_;  // the document's, when "KeepTags" is on
    InputGuard* guard_ = nullptr;
    HeldKeyGuard* heldKeys_ = nullptr;
    bool ended_ = false;
    bool opening_ = false;  // a file is being opened: what the document says is a refusal

    QWidget* client_ = nullptr;
    PictureBox* pictureAll_ = nullptr;
    TimeLinePicture* pictureSec_ = nullptr;
    std::array<HandlePicture*, 2> pictureMark_{};
    ScrollSlider* sliderScroll_ = nullptr;
    PictureBox* pictureTool_ = nullptr;
    TextPanel* pictureInfo_ = nullptr;
    TextPanel* pictureMes_ = nullptr;
    ButtonStrip* playButtons_ = nullptr;
    ButtonStrip* editorCtrl_ = nullptr;
    QTimer* timerMci_ = nullptr;

    QMenu* menuFile_ = nullptr;
    QMenu* menuMenu_ = nullptr;
    QMenu* menuPlayP_ = nullptr;
    std::array<QAction*, kPlayModes> menuPlay_{};
    QAction* menuReg_ = nullptr;
    QAction* menuDelete_ = nullptr;
    QAction* menuCut_ = nullptr;
    QAction* menuPaste_ = nullptr;
    QAction* menuUndo_ = nullptr;
    QAction* menuPasteEx_ = nullptr;
    QAction* menuShowLevels_ = nullptr;

    // The time line's view model over the document (made once the screen's
    // twips per pixel is known) and the transport over the current playback object.
    std::unique_ptr<DocumentTimeLine> timeLine_;
    std::unique_ptr<TimeLineView> view_;
    FGraphFollower graphs_{[this] { return player_.Graph(); }};
    Transport transport_{[this] { return Facts(); }, [this] { return graphs_.Current(); }};
    QPointer<FrmList> list_;
};

}  // namespace kalvor
