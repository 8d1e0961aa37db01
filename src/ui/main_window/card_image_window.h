// Card_Image: the product's one top-level window.
#pragma once

#include "core/startup/command_line.h"
#include "ui/main_window/main_controls.h"
#include "ui/main_window/main_window_state.h"

#include <QWidget>

class QTimer;

namespace card {

class RecordTableModel;

class CardImageWindow : public QWidget {
    Q_OBJECT
public:
    explicit CardImageWindow(QWidget* parent = nullptr);
    ~CardImageWindow() override;

    // Runs once, before the window is first shown: today's date, "全選", the base size, the
    // status line to the front, and the parameter load command.
    void runStartup();
    // The same with the command line's options: without a parameter file exactly runStartup();
    // with one, that file is loaded instead of opening the load command's dialog, and when it
    // was read whole and --date, --card or --direction was given, the controls are set to them
    // and the query runs once.
    void runStartup(const StartupOptions& options);

    const MainControls& controls() const { return m_controls; }
    MainWindowState& state() { return m_state; }
    RecordTableModel& records() { return *m_records; }

    // The commands of the window, one per button, and the list and timer reactions.
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void rec_show(int list_no);
    void Timer1_Timer();

    // Reads the parameter file into para; reports a malformed file with a message box.
    bool para_read(const QString& para_fname);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void createControls();
    void createQueryControls();
    void createResultLists();
    void createDetailPanel();
    void setFocusOrder();
    void connectEvents();
    void keepListsScrollingInStep();
    void followWindowSize();
    void countLateFrameInBaseSize();

    MainControls m_controls;
    MainWindowState m_state;
    RecordTableModel* m_records = nullptr;
    // Whether base_width and base_height include the window manager's frame.
    bool m_baseHasFrame = false;
    // Decodes the shown photo again once the photo box has stopped changing size.
    QTimer* m_photoResize = nullptr;
};

} // namespace card
