#pragma once

#include <QColor>
#include <QObject>

#include <array>

class QLabel;
class QRadioButton;
class QWidget;

// The band across the top: an option and a caption for each photo format. The marked
// format's caption is bright and bold.
class FormatBand : public QObject
{
    Q_OBJECT
public:
    explicit FormatBand(QWidget *client);

    // The marked option, -1 when none is.
    int selected() const;
    // -1 marks none: a document of another size is chosen.
    void mark(int index);
    // The document chosen, under the band; empty for a format alone.
    void setDocumentCaption(const QString &text);

    std::array<QRadioButton *, 5> buttons {};
    std::array<QLabel *, 5> captions {};
    QLabel *documentCaption = nullptr;

signals:
    void clicked(int index);

private:
    QColor m_normalCaptionColour;
};
