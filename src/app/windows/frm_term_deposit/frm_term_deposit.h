#pragma once

#include "app/register_history.h"
#include "commands/csv_export.h"
#include "commands/print_listing.h"
#include "commands/recent_files.h"
#include "core/mod_lease.h"
#include "core/register.h"
#include "platform/platform.h"
#include "storage/document_lock.h"
#include "storage/recovery_keeper.h"
#include "storage/save_guard.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>

class QAction;
class QLabel;
class QMenu;

namespace td {

class ImageButton;
class frmInterestByYear;
class frmMaturities;
class RegisterGrid;

// The main window: the register grid, the menus and the picture buttons.
// It owns the register and the program-wide flags; every other window is
// opened from it, modally, and reads or writes its register.
class frmTermDeposit : public QMainWindow {
    Q_OBJECT

public:
    explicit frmTermDeposit(Platform& platform, QWidget* parent = nullptr);

    // The load step: the start-up message, flags, pointer, column widths and
    // header row. Runs before the window is first shown.
    void startUp();

    Register& Grid() { return m_register; }
    ModLease& flags() { return m_flags; }
    // Every change of the register's rows goes through here, so it can be undone.
    RegisterHistory& history() { return m_history; }
    Platform& platform() { return m_platform; }
    RegisterGrid* gridView() const { return m_grid; }
    QString fileName() const { return m_fileName; }

    // Every menu command as a named action, built from the tables in menus.cpp.
    struct MenuActions {
        QAction* fileNew = nullptr;
        QAction* fileOpen = nullptr;
        QAction* fileSave = nullptr;
        QAction* fileSaveAs = nullptr;
        QAction* fileExportCsv = nullptr;
        QAction* fileExportCsvNumbers = nullptr;
        QAction* filePrint = nullptr;
        QAction* filePreferences = nullptr;
        QAction* fileExit = nullptr;
        QAction* newTermDeposit = nullptr;
        QAction* editTermDeposit = nullptr;
        QAction* deleteTermDeposit = nullptr;
        QAction* search = nullptr;
        QAction* amortise = nullptr;
        QAction* maturities = nullptr;
        QAction* interestByYear = nullptr;
        QAction* undo = nullptr;
        QAction* redo = nullptr;
        QAction* about = nullptr;
    };
    const MenuActions& actions() const { return m_actions; }
    // The items of mnuFileItem, mnuGridItem and mnuHelpItem by index,
    // separators included; nullptr for an index without an item.
    QAction* fileItem(int index) const { return m_fileItems.value(index); }
    QAction* gridItem(int index) const { return m_gridItems.value(index); }
    QAction* helpItem(int index) const { return m_helpItems.value(index); }
    ImageButton* pictureButton(int index) const { return m_pictureButtons.value(index); }
    // File > Open Recent: an item a recent file, or one disabled item saying there is none.
    QMenu* recentFilesMenu() const { return m_recentMenu; }

    // Register commands.
    void NewTermDeposit();
    void EditTermDeposit();
    void DeleteTermDeposit();
    void Search();
    void Amortise();
    void About();
    // Shows the maturities overview beside the main window (one at a time).
    void Maturities();
    // Opens the details dialog for the next term of the deposit in the
    // current row: same account number, rate, term and switches, starting on
    // its term date with its future value as the balance. Add writes it.
    void RollOverTermDeposit();
    frmMaturities* maturitiesWindow() const;
    // Shows the interest by year beside the main window (one at a time).
    void InterestByYear();
    frmInterestByYear* interestByYearWindow() const;
    // The preferences dialog, modal; OK stores what it holds.
    void EditPreferences();
    // Term Deposit > Undo and Redo: the last change of the register's rows.
    void UndoChange();
    void RedoChange();
    // One desktop notification of the active deposits that mature within the
    // preferences' reminder days, or have matured; its action shows the maturities.
    void remindOfDueDeposits();

    // File commands and the save prompts. Each returns false when it stopped early.
    bool SaveFirst();
    // Open with the file chosen outside the program (command line, drop):
    // the save prompt, then every check and message of Open.
    void openFile(const QString& path);
    // Open with a file of File > Open Recent. One that is gone, or is no
    // longer a deposit file, gets Open's message and leaves the list.
    void openRecentFile(const QString& path);
    bool PrepareSaveFile();
    bool SaveRegisterFile();
    // Prints the block of the current row on the running print job (opening
    // it if need be) and leaves the current column on 8; false when the printer failed.
    bool PrintRegister();

    // The indexed click handlers: each triggers the action of its item.
    void mnuFileItem_Click(int index);
    void mnuGridItem_Click(int index);
    void mnuHelpItem_Click(int index);

    static QString titlePrefix();

    // Recovery after a crash (recovery.cpp). The folder of the recovery
    // copies, set before the first change; by default the user's state folder.
    void setRecoveryFolder(const QString& folder);
    RecoveryKeeper& recovery() { return m_recovery; }
    // Once the start-up message is closed: offers what copies of the program
    // that ended without saving left behind, then opens the file named at
    // start, if any. The recovered document's name ("" when untitled), or nothing.
    std::optional<QString> offerRecovery();
    void finishStartUp(const QString& fileToOpen = {});

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildMenus();
    void buildRecentFilesMenu(QMenu* fileMenu);
    void showRecentFiles();
    void followUndoStack();
    void buildPictures();
    void layOutGrid();
    QSize outerSizeTwips() const;
    void setUntitled();
    void setTitleFile(const QString& fileName);

    void fileNew();
    void fileOpen();
    enum class OpenOutcome { Opened, NameRefused, Stopped };
    OpenOutcome openDocument(const std::optional<QString>& chosen);
    void fileSave();
    void fileSaveAs();
    void fileExit();
    void fileExportCsv();
    void fileExportCsvNumbers();
    void exportRegister(csv::Form form);
    // The settings of DlgOpen, the one file dialog of the File commands,
    // shown by the platform's FileDialogs as the Open or the Save dialog.
    FileDialogSettings fileDialogSettings() const;
    bool confirmExactSave();
    bool saveDocument();  // the shortening question, then PrepareSaveFile and SaveRegisterFile
    bool saveRefused(const QString& name);  // told at once where nothing can be saved under name
    void showFileError(const QString& failure, const QString& path, const QString& reason);
    // Sharing the file with other programs (file_sharing.cpp).
    bool lockForOpening(DocumentLock& lock, const QString& name);
    bool chooseAfterInterruptedSave(const QString& name, QString& readFrom);
    bool confirmReplaceChangedFile();
    void nameDocument(const QString& name);
    void holdFileAfterSave();
    void watchRecovery();
    Rebuilt restoreRecoveryCopy(const RecoveryCopy& copy, RecoveryFolder::LeftCopy& left);
    void tellUnreadableRecoveryCopy(RecoveryFolder::LeftCopy& left, const QString& reason);
    void tellRecoveryCopyFailed(const QString& reason);
    void filePrint();
    bool previewListing(bool all, bool printActive);

    Platform& m_platform;
    Register m_register;
    ModLease m_flags;
    RegisterHistory m_history{m_register, m_flags};
    RecentFiles m_recentFiles;
    QString m_fileName;     // blank while the register is untitled
    DocumentLock m_lock;    // of the file open here, unless another copy held it
    SaveGuard m_saveGuard;  // what the file was when last read or written here
    RegisterGrid* m_grid = nullptr;
    QLabel* m_logo = nullptr;
    QList<ImageButton*> m_pictureButtons;
    MenuActions m_actions;
    QList<QAction*> m_fileItems;
    QList<QAction*> m_gridItems;
    QList<QAction*> m_helpItems;
    QMenu* m_recentMenu = nullptr;
    QList<QAction*> m_recentItems;  // one for each place in the list, hidden while unused
    QAction* m_noRecentFiles = nullptr;
    QPointer<frmMaturities> m_maturities;
    QPointer<frmInterestByYear> m_interestByYear;
    bool m_exiting = false;
    // Follows the register and keeps a copy of it while it holds unsaved changes.
    RecoveryKeeper m_recovery{m_register, [this] { return m_fileName; },
                              [this] { return m_flags.ModifiedFlag; }};
    bool m_recoveryFailureTold = false;           // since the last copy written
    listing::Job m_printJob{m_platform.printer};  // of the running Print command
};

}  // namespace td
