#include "facefinder.h"

#include "headtop.h"

#include "platform/paths.h"

#include <QFile>
#include <QtDebug>

#include <dlib/image_processing.h>
#include <dlib/image_processing/frontal_face_detector.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <thread>

namespace {

// The detector finds faces from about 80 pixels; in a photo reduced to this size that is a
// face an identity photo can use, and the search stays near 100 ms on a small machine.
constexpr int SearchSide = 1000;
// Where that finds nothing, the photo is searched again at up to twice the size, and a
// large photo's upper two thirds, where a portrait's face is, at half as much again.
constexpr int CloserSide = 2000;
constexpr double UpperCloser = 1.5;
// Those searches look only for the faces too small for the one before: the pyramid levels
// (each 5/6 of the last) that span a factor of two.
constexpr unsigned long CloserLevels = 5;
// A group photo's faces are too small for an identity photo; a few people, each a choice.
constexpr std::size_t MostFacesMarked = 6;

using namespace Landmark;
constexpr int EyeCorners[] = { FirstEye, FirstEye + 3, SecondEye, SecondEye + 3 };

dlib::frontal_face_detector largestLevelsOnly(const dlib::frontal_face_detector &detector)
{
    dlib::frontal_face_detector::image_scanner_type scanner;
    scanner.copy_configuration(detector.get_scanner());
    scanner.set_max_pyramid_levels(CloserLevels);
    std::vector<dlib::frontal_face_detector::feature_vector_type> weights;
    for (unsigned long i = 0; i < detector.num_detectors(); ++i)
        weights.push_back(detector.get_w(i));
    return { scanner, detector.get_overlap_tester(), weights };
}

} // namespace

class FaceModel
{
public:
    std::mutex searching; // the detectors keep their working memory between calls
    dlib::frontal_face_detector detector = dlib::get_frontal_face_detector();
    dlib::frontal_face_detector closer = largestLevelsOnly(detector);
    dlib::shape_predictor landmarks;
};

namespace {

// A second of loading and 100 MB: every window of the process shares the one model. Never
// destroyed, as a load may still run while the program ends.
std::shared_ptr<FaceModel> sharedFaceModel(const QString &path)
{
    static auto *mutex = new std::mutex;
    static auto *models = new std::map<QString, std::shared_ptr<FaceModel>>;
    const std::lock_guard lock(*mutex);
    std::shared_ptr<FaceModel> &model = (*models)[path];
    if (!model)
        model = loadFaceModel(path);
    return model;
}

} // namespace

std::shared_ptr<FaceModel> loadFaceModel(const QString &landmarkModelPath)
{
    // Like every file from outside: a pipe or a folder in its place must not block or fail oddly.
    QFile probe;
    if (!openRegularFile(probe, landmarkModelPath))
        return nullptr;
    probe.close();
    try {
        auto model = std::make_shared<FaceModel>();
        dlib::deserialize(landmarkModelPath.toStdString()) >> model->landmarks;
        return model;
    } catch (const std::exception &error) {
        qWarning(
            "The face model %s cannot be read: %s", qPrintable(landmarkModelPath), error.what());
        return nullptr;
    }
}

namespace {

FaceSearch searchPicture(FaceModel &model, const QImage &picture, bool closer)
{
    if (picture.isNull())
        return {};
    const QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
    dlib::array2d<unsigned char> pixels(grey.height(), grey.width());
    for (int y = 0; y < grey.height(); ++y)
        std::copy_n(grey.constScanLine(y), grey.width(), &pixels[y][0]);

    const std::lock_guard lock(model.searching);
    std::vector<dlib::rect_detection> faces;
    (closer ? model.closer : model.detector)(pixels, faces);
    // A detection far weaker than the best is a texture that looks a little like a face
    // (a round badge, a pattern), not a second person.
    double best = 0;
    for (const dlib::rect_detection &face : faces)
        best = std::max(best, face.detection_confidence);
    std::erase_if(faces, [best](const auto &face) { return face.detection_confidence < best / 2; });
    FaceSearch search;
    search.faces = int(faces.size());
    if (faces.size() > MostFacesMarked)
        return search;
    for (const dlib::rect_detection &face : faces) {
        const dlib::full_object_detection shape = model.landmarks(pixels, face.rect);
        QList<QPointF> points;
        for (unsigned long i = 0; i < shape.num_parts(); ++i)
            points.append(QPointF(shape.part(i).x(), shape.part(i).y()));
        // Colour tells hair from a wall where grey may not.
        search.several.append(withMeasuredTop(picture, FaceMarks::fromPoints(points)));
    }
    if (search.faces == 1)
        search.face = search.several.takeFirst();
    return search;
}

} // namespace

FaceMarks FaceMarks::fromPoints(const QList<QPointF> &points)
{
    FaceMarks marks;
    marks.points = points;
    if (points.size() != Count)
        return marks;
    for (int i = JawFirst; i <= JawLast; ++i)
        marks.chin = std::max(marks.chin, points[i].y());
    for (const int corner : EyeCorners) {
        marks.eyeLine += points[corner].y() / 4.0;
        marks.centreX += points[corner].x() / 4.0;
    }
    const QPointF mirrored(marks.centreX, marks.eyeLine - (marks.chin - marks.eyeLine));
    marks.hairTop = marks.skullTop = mirrored;
    return marks;
}

FaceMarks FaceMarks::turned(const Turn &turn) const
{
    return mapped(turn.matrix());
}

FaceMarks FaceMarks::mapped(const QTransform &matrix) const
{
    QList<QPointF> moved;
    for (const QPointF &point : points)
        moved.append(matrix.map(point));
    FaceMarks face = fromPoints(moved);
    face.hairTop = matrix.map(hairTop);
    face.skullTop = matrix.map(skullTop);
    face.topFound = topFound;
    return face;
}

std::pair<QPointF, QPointF> FaceMarks::eyes() const
{
    if (points.size() != Count)
        return {};
    QPointF first, second;
    for (int i = 0; i < 6; ++i) {
        first += points[FirstEye + i] / 6;
        second += points[SecondEye + i] / 6;
    }
    return { first, second };
}

double FaceMarks::tilt() const
{
    const auto [first, second] = eyes();
    return std::atan2(second.y() - first.y(), second.x() - first.x()) * 180 / M_PI;
}

FaceSearch findFace(FaceModel &model, const QImage &upright)
{
    return searchPicture(model, upright, false);
}

FaceSearch findFace(FaceModel &model, const Photo &photo, const std::function<bool()> &stop)
{
    const auto stopped = [&stop] { return stop && stop(); };
    const QRect whole(QPoint(), photo.size());
    const QRect upper(0, 0, photo.width(), std::max(1, photo.height() * 2 / 3));
    const double side = std::max(photo.width(), photo.height());
    const double first = std::min(1.0, SearchSide / side);
    const double second = std::min(2 * first, CloserSide / side);
    const double third = std::min(1.0, UpperCloser * second);
    struct Pass
    {
        QRect part;
        double scale;
        bool closer;
    };
    std::vector<Pass> passes = { { whole, first, false }, { whole, second, true } };
    // A small photo has no pixels beyond the enlarged copy the second search saw.
    if (third > second)
        passes.push_back({ upper, third, true });
    for (const Pass &pass : passes) {
        const QSize size
            = QSize(qRound(pass.part.width() * pass.scale), qRound(pass.part.height() * pass.scale))
                  .expandedTo(QSize(1, 1));
        // An enlarged reduced picture would blur the landmarks, or show faces that are not there.
        if (!photo.holdsPixelsFor(pass.part, size)) {
            while (!photo.waitFor(std::chrono::milliseconds(50)))
                if (stopped())
                    return {};
        }
        if (stopped())
            return {};
        FaceSearch found = searchPicture(model, photo.scaledCrop(pass.part, size), pass.closer);
        const QTransform toPhoto = QTransform::fromScale(double(pass.part.width()) / size.width(),
                                       double(pass.part.height()) / size.height())
            * QTransform::fromTranslate(pass.part.left(), pass.part.top());
        const auto onPhoto = [&toPhoto](FaceMarks &face) {
            face = face.mapped(toPhoto);
            // Measured in an enlarged picture, the top would come from pixels the photo lacks.
            const auto [first, second] = face.eyes();
            if (QLineF(first, second).length() < HeadTopDefaults.minEyeDistance) {
                face = FaceMarks::fromPoints(face.points);
                face.topFound = FaceMarks::TopFound::TooSmall;
            }
        };
        if (found.face)
            onPhoto(*found.face);
        for (FaceMarks &face : found.several)
            onPhoto(face);
        if (found.faces > 0)
            return found;
    }
    return {};
}

FaceFinder::FaceFinder(const QString &modelPath, QObject *parent)
    : FaceFinder([modelPath] { return sharedFaceModel(modelPath); }, parent)
{ }

FaceFinder::FaceFinder(ModelLoader load, QObject *parent)
    : QObject(parent)
    , m_load(std::move(load))
{
    // One thread: the model is loaded before any search, and searches run in order.
    m_thread.setMaxThreadCount(1);
    m_thread.setExpiryTimeout(-1);
}

FaceFinder::~FaceFinder()
{
    // A search waiting for a photo's pixels or the model lets go, so the program ends at once.
    m_ending = true;
    m_thread.clear();
    m_thread.waitForDone();
}

void FaceFinder::loadModel()
{
    if (m_model.valid())
        return;
    std::promise<std::shared_ptr<FaceModel>> loaded;
    m_model = loaded.get_future().share();
    std::thread([load = m_load, loaded = std::move(loaded)]() mutable {
        loaded.set_value(load());
    }).detach();
}

void FaceFinder::search(PhotoPtr photo)
{
    loadModel();
    const int ticket = ++m_latest;
    m_thread.start([this, model = m_model, photo = std::move(photo), ticket] {
        // A photo loaded since makes this one's search useless.
        if (ticket != m_latest)
            return;
        const auto useless = [this, ticket] { return m_ending || ticket != m_latest; };
        while (model.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready)
            if (useless())
                return;
        const std::shared_ptr<FaceModel> &loaded = model.get();
        const FaceSearch result = loaded ? findFace(*loaded, *photo, useless) : FaceSearch {};
        if (useless())
            return;
        QMetaObject::invokeMethod(
            this, [this, photo, result] { emit found(photo, result); }, Qt::QueuedConnection);
    });
}
