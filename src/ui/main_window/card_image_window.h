// Card_Image: the product's one top-level window.
#pragma once

#include "core/dialog/file_select_exchange.h"
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

    const MainControls& controls() const { return m_controls; }
    MainWindowState& state() { return m_state; }
    RecordTableModel& records() { return *m_records; }
    const FileSelectExchange& fileSelectExchange() const { return m_fileSelect; }

    // The commands of the window, one per button, and the list and timer reactions.
    void clearResults();
    void runQuery();
    void loadParameters();
    void showRecord(int listIndex);
    void stepPlayback();

    // Reads the parameter file into the parameter table; reports a malformed file with a message
    // box.
    bool readParameters(const QString& path);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void createControls();
    void createTimers();
    void setFocusOrder();
    void connectEvents();
    void keepListsScrollingInStep();
    void followWindowSize();
    void countLateFrameInBaseSize();

    MainControls m_controls;
    MainWindowState m_state;
    // What the parameter file dialog was asked and answered; its path outlives each opening.
    FileSelectExchange m_fileSelect;
    RecordTableModel* m_records = nullptr;
    // Whether baseWidth and baseHeight include the window manager's frame.
    bool m_baseHasFrame = false;
    // Decodes the shown photo again once the photo box has stopped changing size.
    QTimer* m_photoResize = nullptr;
};

} // namespace card
