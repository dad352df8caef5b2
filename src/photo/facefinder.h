#pragma once

#include "photo.h"
#include "photoformat.h"
#include "turn.h"

#include <QList>
#include <QObject>
#include <QPointF>
#include <QThreadPool>

#include <atomic>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <utility>

// Points of the 68-point landmark model.
namespace Landmark {
inline constexpr qsizetype Count = 68;
inline constexpr int JawFirst = 0, JawLast = 16, BrowFirst = 17, BrowLast = 26;
inline constexpr int NoseTop = 27, NoseTip = 30;
inline constexpr int FirstEye = 36, SecondEye = 42; // six points each, outer corner first
} // namespace Landmark

// What the landmarks tell of one face, in the upright photo's pixels.
struct FaceMarks
{
    double chin = 0; // the lowest jaw point
    double eyeLine = 0; // the mean height of the four eye corners
    double centreX = 0; // midway between the eyes
    // The 68 points of the landmark model (jaw 0-16, brows 17-26, nose 27-35, eyes 36-47,
    // mouth 48-67); the values above follow from them.
    QList<QPointF> points;
    static FaceMarks fromPoints(const QList<QPointF> &points);
    // The same face on the photo turned so.
    FaceMarks turned(const Turn &turn) const;
    FaceMarks mapped(const QTransform &matrix) const;
    // Each eye's centre: the mean of its six points, the one left on the photo first.
    std::pair<QPointF, QPointF> eyes() const;
    // The eye line's angle, clockwise on the screen, in degrees.
    double tilt() const;
    // The top of the head is no landmark. Where the photo shows it, the top of the hair is
    // measured in its pixels and the skull's top estimated below it; until then, and where it
    // cannot be found, both are taken as far above the eye line as the chin is below it.
    // Points on the face's axis, so a turn moves them with the face.
    QPointF hairTop;
    QPointF skullTop;
    // NotFound: the pixels do not tell; TooSmall: too few of them around the face.
    enum class TopFound { Estimated, Measured, NotFound, TooSmall, ByHand };
    TopFound topFound = TopFound::Estimated;
    double crown() const { return skullTop.y(); }
    double hair() const { return hairTop.y(); }
    double top(FaceRule::Top top) const { return top == FaceRule::Top::Hair ? hair() : crown(); }
    // Chin to the top the rule measures to.
    double head(FaceRule::Top top = FaceRule::Top::Skull) const { return chin - this->top(top); }
};

struct FaceSearch
{
    int faces = 0; // how many faces the detector found, none far weaker than the best
    std::optional<FaceMarks> face; // their landmarks when there is exactly one
    QList<FaceMarks> several; // theirs when a few were found, for the user to choose one
};

// The face detector and the 68-point landmark model, loaded once. One search at a time.
class FaceModel;
std::shared_ptr<FaceModel> loadFaceModel(const QString &landmarkModelPath);
// The photo reduced first; where that shows no face, larger, for the smaller faces.
// `stop`, asked between the steps, ends the search early with nothing found: the photo's own
// pixels are never waited for past it.
FaceSearch findFace(FaceModel &model, const Photo &photo, const std::function<bool()> &stop = {});
// The picture at its own size only.
FaceSearch findFace(FaceModel &model, const QImage &upright);

inline constexpr auto LandmarkModelPath = "/usr/share/dlib/shape_predictor_68_face_landmarks.dat";

// Searches photos for a face on a thread of its own, in the order asked. The model is loaded on
// a thread of its own that nobody waits for: dlib's reading cannot be cut short, so a program
// ending meanwhile leaves it behind.
class FaceFinder : public QObject
{
    Q_OBJECT
public:
    using ModelLoader = std::function<std::shared_ptr<FaceModel>()>;
    // The model of the file, shared by every finder of the process.
    explicit FaceFinder(const QString &modelPath = QString::fromLatin1(LandmarkModelPath),
        QObject *parent = nullptr);
    // `load` runs on a thread that may outlive the finder: it must own what it touches.
    explicit FaceFinder(ModelLoader load, QObject *parent = nullptr);
    // Waits for the search under way, which lets go of a model still loading; the searches not
    // started yet are dropped.
    ~FaceFinder() override;

    // Starts loading the model, once.
    void loadModel();
    // found() follows for this photo, unless another search is asked for first.
    void search(PhotoPtr photo);

signals:
    // Without a model (its file missing or damaged) no face is ever found.
    void found(const PhotoPtr &photo, const FaceSearch &result);

private:
    ModelLoader m_load;
    QThreadPool m_thread;
    std::shared_future<std::shared_ptr<FaceModel>> m_model; // valid once the load started
    std::atomic<int> m_latest { 0 };
    std::atomic<bool> m_ending { false };
};
