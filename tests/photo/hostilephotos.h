#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

// Files a photo loader must survive: damaged, odd and hostile JPEGs, written afresh by every
// test run, so no binary sits in the repository.
namespace HostilePhotos {

enum class Outcome {
    Upright, // loaded, shows uprightPicture() the right way up
    UprightTopOnly, // loaded from a cut file: the rows that were there are right
    NotAPicture, // text 50
    TooLarge, // text 51
};

struct File
{
    QString name;
    QByteArray bytes;
    Outcome outcome = Outcome::Upright;
};

// The picture every loadable file shows upright: 600 x 800, four coloured quadrants.
QImage uprightPicture();

// Encodes with libjpeg, where Qt's writer has no say: colour space, progression, arithmetic
// coding and the exact number of scans (0: libjpeg's own choice).
enum class ColourSpace { Rgb, Grey, Cmyk };
struct EncodeOptions
{
    ColourSpace colourSpace = ColourSpace::Rgb;
    bool progressive = false;
    bool arithmetic = false;
    int scans = 0; // progressive only: this many scans, up to maximumScans()
};
QByteArray encode(const QImage &image, const EncodeOptions &options);
int maximumScans();

// The whole set with the outcome each file must end in, in a fixed order.
QList<File> corpus();
// Writes files into `folder`; false when one cannot be written.
bool writeFiles(const QString &folder, const QList<File> &files);

} // namespace HostilePhotos
