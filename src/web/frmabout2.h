#pragma once

#include "aboutscroll.h"

#include <QWidget>

class LinkLabel;
class Platform;
class QFrame;
class QLabel;
class QTimer;
class TextTable;

// The About box: title, release, and a panel of credits that scrolls through a viewport.
// It is made afresh for every opening and takes the texts of the current language then.
class frmAbout2 : public QWidget
{
    Q_OBJECT
public:
    frmAbout2(Platform &platform, const TextTable &texts, QWidget *parent = nullptr);

    // Closes the box; the timer stops and the main window is to be shown again.
    void unload();
    // One tick of Timer1; public so the scroll can be driven without waiting for the timer.
    void scrollStep();

signals:
    void unloaded();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    void load(const TextTable &texts);

    Platform &m_platform;
    AboutScroll m_scroll;
    bool m_backgroundPressed = false;

    LinkLabel *imgTitle = nullptr;
    LinkLabel *lblTitle = nullptr;
    LinkLabel *lblVersion = nullptr;
    QFrame *Frame1 = nullptr;
    QFrame *Picture1 = nullptr;
    QWidget *Picture2 = nullptr;
    LinkLabel *lblDescription = nullptr;
    LinkLabel *lblCopyright = nullptr;
    QLabel *lblHomePageCap = nullptr;
    LinkLabel *lblHomePage = nullptr;
    QLabel *Image1 = nullptr;
    QTimer *Timer1 = nullptr;
};
