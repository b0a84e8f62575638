// The main window's menus: captions, order and shortcuts as the user knows
// them. Each item is named after its command (objectName), so the list window
// and the tests find it without holding a pointer.
//
// Captions are written in Japanese and kept with their action (kCaptionProperty),
// so RetranslateUi can show each in the interface's language.
#include <QActionGroup>
#include <QEvent>
#include <QMenu>
#include <QMenuBar>

#include "services/ui_text.h"
#include "ui/frm_main.h"
#include "ui/frm_main_layout.h"
#include "ui/frm_main_rules.h"
#include "ui/widget_text_panel.h"

namespace kalvor {
namespace {

constexpr std::array<const char*, kPlayModes> kPlayCaptions{
    KALVOR_TR_NOOP("kalvor::FrmMain", "範囲内再生"),       KALVOR_TR_NOOP("kalvor::FrmMain", "範囲外再生"),
    KALVOR_TR_NOOP("kalvor::FrmMain", "ループ再生"),       KALVOR_TR_NOOP("kalvor::FrmMain", "マークインまで"),
    KALVOR_TR_NOOP("kalvor::FrmMain", "マークアウトまで"), KALVOR_TR_NOOP("kalvor::FrmMain", "マークインから"),
    KALVOR_TR_NOOP("kalvor::FrmMain", "マークアウトから")};

constexpr const char* kCaptionProperty = "kalvorCaption";

void KeepCaption(QAction* action, const char* caption) {
    action->setProperty(kCaptionProperty, QByteArray(caption));
}

}  // namespace

QAction* FrmMain::AddCommand(QMenu* menu, const char* name, const char* caption, void (FrmMain::*slot)(),
                             const QKeySequence& shortcut) {
    QAction* action = menu->addAction(tr(caption));
    KeepCaption(action, caption);
    action->setObjectName(QString::fromUtf8(name));
    action->setShortcut(shortcut);
    // One press, one command: a held key repeats its press, and a held Ctrl+Z
    // would toggle undo to whichever version the count left, a held Delete or
    // Ctrl+V take the undo of the press that did the work.
    action->setAutoRepeat(false);
    connect(action, &QAction::triggered, this, slot);
    return action;
}

QMenu* FrmMain::AddMenu(QWidget* parent, const char* name, const char* caption) {
    auto* menu = new QMenu(tr(caption), parent);
    menu->setObjectName(QString::fromUtf8(name));
    KeepCaption(menu->menuAction(), caption);
    if (auto* bar = qobject_cast<QMenuBar*>(parent))
        bar->addMenu(menu);
    else if (auto* above = qobject_cast<QMenu*>(parent))
        above->addMenu(menu);
    return menu;
}

void FrmMain::CreateMenus() {
    QMenuBar* bar = menuBar();
    menuFile_ = AddMenu(bar, "MenuFile", QT_TR_NOOP("ファイル(&F)"));
    AddCommand(menuFile_, "MenuFileOpen", QT_TR_NOOP("開く"), &FrmMain::MenuFileOpenClick, {});
    AddCommand(menuFile_, "MenuFileClose", QT_TR_NOOP("閉じる"), &FrmMain::MenuFileCloseClick, {});
    AddCommand(menuFile_, "MenuOverwrite", QT_TR_NOOP("上書き保存"), &FrmMain::MenuOverwriteClick, {});
    AddCommand(menuFile_, "MenuFileSaveAs", QT_TR_NOOP("名前をつけて保存"), &FrmMain::MenuFileSaveAsClick, {});
    menuReg_ = AddCommand(menuFile_, "MenuReg", QT_TR_NOOP("登録"), &FrmMain::MenuRegClick, {});

    menuMenu_ = AddMenu(bar, "MenuMenu", QT_TR_NOOP("編集(&E)"));
    menuPlayP_ = AddMenu(menuMenu_, "MenuPlayP", QT_TR_NOOP("再生"));
    auto* playGroup = new QActionGroup(this);
    playGroup->setExclusive(true);
    for (int k = 0; k < kPlayModes; ++k) {
        QAction* entry = menuPlayP_->addAction(tr(kPlayCaptions[k]));
        KeepCaption(entry, kPlayCaptions[k]);
        entry->setObjectName(QStringLiteral("MenuPlay%1").arg(k));
        entry->setCheckable(true);
        entry->setChecked(k == 0);
        playGroup->addAction(entry);
        connect(entry, &QAction::triggered, this, [this, k] { PlayMenuChosen(k); });
        menuPlay_[k] = entry;
    }
    menuMenu_->addSeparator();
    menuDelete_ =
        AddCommand(menuMenu_, "MenuDel0", QT_TR_NOOP("削除"), &FrmMain::MenuDeleteClick, QKeySequence(Qt::Key_Delete));
    menuCut_ = AddCommand(menuMenu_, "MenuDel1", QT_TR_NOOP("切り取り"), &FrmMain::MenuCutClick,
                          QKeySequence(Qt::CTRL | Qt::Key_X));
    AddCommand(menuMenu_, "MenuCopy", QT_TR_NOOP("コピー"), &FrmMain::MenuCopyClick,
               QKeySequence(Qt::CTRL | Qt::Key_C));
    menuPaste_ = AddCommand(menuMenu_, "MenuPaste", QT_TR_NOOP("貼り付け"), &FrmMain::MenuPasteClick,
                            QKeySequence(Qt::CTRL | Qt::Key_V));
    menuMenu_->addSeparator();
    AddCommand(menuMenu_, "MenuSelectAll", QT_TR_NOOP("すべて選択"), &FrmMain::MenuSelectAllClick,
               QKeySequence(Qt::CTRL | Qt::Key_A));
    menuUndo_ = AddCommand(menuMenu_, "MenuUndo", QT_TR_NOOP("元に戻す"), &FrmMain::MenuUndoClick,
                           QKeySequence(Qt::CTRL | Qt::Key_Z));
    menuMenu_->addSeparator();
    menuPasteEx_ =
        AddCommand(menuMenu_, "MenuPasteEx", QT_TR_NOOP("ファイルを貼り付け"), &FrmMain::MenuPasteExClick, {});
    AddCommand(menuMenu_, "MenuWriteToFile", QT_TR_NOOP("ファイルに書きだし"), &FrmMain::MenuWriteToFileClick, {});

    QMenu* view = AddMenu(bar, "MenuView", QT_TR_NOOP("表示(&V)"));
    menuShowLevels_ = view->addAction(tr("レベル表示"));
    menuShowLevels_->setObjectName("MenuShowLevels");
    KeepCaption(menuShowLevels_, QT_TR_NOOP("レベル表示"));
    menuShowLevels_->setCheckable(true);
    menuShowLevels_->setChecked(true);
    connect(menuShowLevels_, &QAction::toggled, this, &FrmMain::MenuShowLevelsToggled);

    QMenu* tools = AddMenu(bar, "MenuTool", QT_TR_NOOP("ツール(&T)"));
    AddCommand(tools, "MenuDivide", QT_TR_NOOP("分割"), &FrmMain::MenuDivideClick, {});
    AddCommand(tools, "MenuBuild", QT_TR_NOOP("ビルド"), &FrmMain::MenuBuildClick, {});
    AddCommand(tools, "MenuDispMix", QT_TR_NOOP("ミキサー"), &FrmMain::MenuDispMixClick, {});

    QMenu* info = AddMenu(bar, "MenuInformation", QT_TR_NOOP("情報(&I)"));
    AddCommand(info, "MenuFileInfo", QT_TR_NOOP("ファイル情報"), &FrmMain::MenuFileInfoClick, {});
    AddCommand(info, "MenuInfo", QT_TR_NOOP("バージョン情報"), &FrmMain::MenuInfoClick, {});
}

void FrmMain::RetranslateUi() {
    for (QAction* action : findChildren<QAction*>()) {
        const QByteArray caption = action->property(kCaptionProperty).toByteArray();
        if (!caption.isEmpty()) action->setText(tr(caption.constData()));
    }
    for (int row = 0; row < kInfoRows; ++row) pictureInfo_->SetText(row + kInfoRows, tr(kInfoLabels[row]));
}

void FrmMain::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) RetranslateUi();
    QMainWindow::changeEvent(event);
}

void FrmMain::SetEditMenusEnabled(bool enabled) {
    for (QAction* action : {menuDelete_, menuCut_, menuPaste_, menuPasteEx_, menuUndo_}) action->setEnabled(enabled);
    menuFile_->setEnabled(enabled);
    menuFile_->menuAction()->setEnabled(enabled);
}

}  // namespace kalvor
