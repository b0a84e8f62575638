// The main window's menus: captions, order and shortcuts as the user knows
// them. Each item is named after its command (objectName), so the list window
// and the tests find it without holding a pointer.
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include "ui/frm_main.h"

namespace kalvor {
namespace {

constexpr std::array<const char*, kPlayModes> kPlayCaptions{"範囲内再生",      "範囲外再生",       "ループ再生",
                                                            "マークインまで",  "マークアウトまで", "マークインから",
                                                            "マークアウトから"};

}  // namespace

QAction* FrmMain::AddCommand(QMenu* menu, const char* name, const char* caption, void (FrmMain::*slot)(),
                             const QKeySequence& shortcut) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromUtf8(name));
    action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, slot);
    return action;
}

void FrmMain::CreateMenus() {
    QMenuBar* bar = menuBar();
    menuFile_ = bar->addMenu(QStringLiteral("ファイル(&F)"));
    menuFile_->setObjectName("MenuFile");
    AddCommand(menuFile_, "MenuFileOpen", "開く", &FrmMain::MenuFileOpenClick, {});
    AddCommand(menuFile_, "MenuFileClose", "閉じる", &FrmMain::MenuFileCloseClick, {});
    AddCommand(menuFile_, "MenuOverwrite", "上書き保存", &FrmMain::MenuOverwriteClick, {});
    AddCommand(menuFile_, "MenuFileSaveAs", "名前をつけて保存", &FrmMain::MenuFileSaveAsClick, {});
    menuReg_ = AddCommand(menuFile_, "MenuReg", "登録", &FrmMain::MenuRegClick, {});

    menuMenu_ = bar->addMenu(QStringLiteral("編集(&E)"));
    menuMenu_->setObjectName("MenuMenu");
    menuPlayP_ = menuMenu_->addMenu(QStringLiteral("再生"));
    menuPlayP_->setObjectName("MenuPlayP");
    auto* playGroup = new QActionGroup(this);
    playGroup->setExclusive(true);
    for (int k = 0; k < kPlayModes; ++k) {
        QAction* entry = menuPlayP_->addAction(QString::fromUtf8(kPlayCaptions[k]));
        entry->setObjectName(QStringLiteral("MenuPlay%1").arg(k));
        entry->setCheckable(true);
        entry->setChecked(k == 0);
        playGroup->addAction(entry);
        connect(entry, &QAction::triggered, this, [this, k] { PlayMenuChosen(k); });
        menuPlay_[k] = entry;
    }
    menuMenu_->addSeparator();
    menuDelete_ = AddCommand(menuMenu_, "MenuDel0", "削除", &FrmMain::MenuDeleteClick, QKeySequence(Qt::Key_Delete));
    menuCut_ =
        AddCommand(menuMenu_, "MenuDel1", "切り取り", &FrmMain::MenuCutClick, QKeySequence(Qt::CTRL | Qt::Key_X));
    AddCommand(menuMenu_, "MenuCopy", "コピー", &FrmMain::MenuCopyClick, QKeySequence(Qt::CTRL | Qt::Key_C));
    menuPaste_ =
        AddCommand(menuMenu_, "MenuPaste", "貼り付け", &FrmMain::MenuPasteClick, QKeySequence(Qt::CTRL | Qt::Key_V));
    menuMenu_->addSeparator();
    AddCommand(menuMenu_, "MenuSelectAll", "すべて選択", &FrmMain::MenuSelectAllClick,
               QKeySequence(Qt::CTRL | Qt::Key_A));
    menuUndo_ =
        AddCommand(menuMenu_, "MenuUndo", "元に戻す", &FrmMain::MenuUndoClick, QKeySequence(Qt::CTRL | Qt::Key_Z));
    menuMenu_->addSeparator();
    menuPasteEx_ = AddCommand(menuMenu_, "MenuPasteEx", "ファイルを貼り付け", &FrmMain::MenuPasteExClick, {});
    AddCommand(menuMenu_, "MenuWriteToFile", "ファイルに書きだし", &FrmMain::MenuWriteToFileClick, {});

    QMenu* view = bar->addMenu(QStringLiteral("表示(&V)"));
    view->setObjectName("MenuView");
    menuShowLevels_ = view->addAction(QStringLiteral("レベル表示"));
    menuShowLevels_->setObjectName("MenuShowLevels");
    menuShowLevels_->setCheckable(true);
    menuShowLevels_->setChecked(true);
    connect(menuShowLevels_, &QAction::toggled, this, &FrmMain::MenuShowLevelsToggled);

    QMenu* tools = bar->addMenu(QStringLiteral("ツール(&T)"));
    tools->setObjectName("MenuTool");
    AddCommand(tools, "MenuDivide", "分割", &FrmMain::MenuDivideClick, {});
    AddCommand(tools, "MenuBuild", "ビルド", &FrmMain::MenuBuildClick, {});
    AddCommand(tools, "MenuDispMix", "ミキサー", &FrmMain::MenuDispMixClick, {});

    QMenu* info = bar->addMenu(QStringLiteral("情報(&I)"));
    info->setObjectName("MenuInformation");
    AddCommand(info, "MenuFileInfo", "ファイル情報", &FrmMain::MenuFileInfoClick, {});
    AddCommand(info, "MenuInfo", "バージョン情報", &FrmMain::MenuInfoClick, {});
}

void FrmMain::SetEditMenusEnabled(bool enabled) {
    for (QAction* action : {menuDelete_, menuCut_, menuPaste_, menuPasteEx_, menuUndo_}) action->setEnabled(enabled);
    menuFile_->setEnabled(enabled);
    menuFile_->menuAction()->setEnabled(enabled);
}

}  // namespace kalvor
