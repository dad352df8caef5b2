#pragma once

#include <QColor>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

class CaptionButton;

// A caption shows an access-key ampersand as the menus do: "&&" is a literal ampersand.
QString withoutMnemonic(const QString &caption);
// Shows a caption without its access-key ampersand and sizes the label to it.
void setCaption(QLabel *label, const QString &caption);
// Makes a label at least as wide as its text in its font. It grows from its design box
// (the geometry it had the first time), away from the edge its text is aligned to, or both
// ways for centred text, and stays within `bounds` (its parent's area inside a small margin
// when empty); text still too wide wraps at words, the label growing downwards to the bottom
// of `bounds` at most.
void fitToText(QLabel *label, QRect bounds = {});
// Every label of a window shows its text as it stands: texts come from language files that
// users share, and Qt would otherwise take a line that looks like HTML as rich text.
void showPlainText(QWidget *window);
// Keeps a dialog of layouts within the screen whatever the language file says: its labels wrap
// within three tenths of the screen's width, a text of more than about three such lines and a
// button caption longer than a quarter of the width are cut short, whole in their tooltips.
// Texts set later keep to the same widths.
void keepWithinScreen(QWidget *dialog);
// A tooltip that shows its text as it stands.
QString plainToolTip(const QString &text);

// A label or picture of the link panel: reports the pointer over it and clicks on it.
class LinkLabel : public QLabel
{
    Q_OBJECT
public:
    explicit LinkLabel(QWidget *parent = nullptr);
    // Takes the keyboard focus, shows it, and counts Space as a click.
    void takeKeyboard();

signals:
    void hovered();
    void clicked();

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_pressed = false;
};

// A push button drawn as its caption alone, for windows whose buttons are words: it takes the
// keyboard focus and shows it, and answers Space and Return as any button does. Disabled, its
// caption is greyed.
class CaptionButton : public QPushButton
{
    Q_OBJECT
public:
    explicit CaptionButton(QWidget *parent = nullptr);

    // Where its caption stands: one line, centred at the top.
    Qt::Alignment alignment() const { return Qt::AlignHCenter | Qt::AlignTop; }

signals:
    void hovered();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};

// Filled or outlined rectangles, ovals and lines drawn on the window; they take no input.
class ShapeWidget : public QWidget
{
    Q_OBJECT
public:
    enum class Kind { Rectangle, Oval, HorizontalLine, VerticalLine };

    ShapeWidget(Kind kind, QWidget *parent = nullptr);

    void setBorder(const QColor &colour, Qt::PenStyle style = Qt::SolidLine, int widthPixels = 1);
    void setFill(const QColor &colour);
    int borderWidth() const { return m_borderWidth; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Kind m_kind;
    QColor m_borderColour = Qt::black;
    Qt::PenStyle m_borderStyle = Qt::SolidLine;
    int m_borderWidth = 1;
    QColor m_fill; // invalid: transparent
};
