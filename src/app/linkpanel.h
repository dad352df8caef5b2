#pragma once

#include <QObject>

#include <array>

class LinkLabel;
class QAction;
class QWidget;
class TextTable;

// The panel right of the frame: a picture and a caption for opening, printing, donating and
// the About box. A click runs the menu command exactly as if its item had been chosen; the
// link under the pointer is bright and bold.
class LinkPanel : public QObject
{
    Q_OBJECT
public:
    LinkPanel(QWidget *client, const std::array<QAction *, 4> &commands);

    void applyTexts(const TextTable &texts);
    // -1 dims every link.
    void highlightLink(int index);

    std::array<LinkLabel *, 4> captions {};
    std::array<LinkLabel *, 4> icons {};

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
