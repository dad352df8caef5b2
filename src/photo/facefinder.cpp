#include "facefinder.h"

#include <QFile>
#include <QtDebug>

#include <dlib/image_processing.h>
#include <dlib/image_processing/frontal_face_detector.h>

#include <algorithm>
#include <map>
#include <mutex>

namespace {

// The detector finds faces from about 80 pixels; in a photo reduced to this size that is a
// face an identity photo can use, and the search stays near 100 ms on a small machine.
constexpr int SearchSide = 1000;

// Points of the 68-point model.
constexpr int JawFirst = 0, JawLast = 16;
constexpr int EyeCorners[] = { 36, 39, 42, 45 };

} // namespace

class FaceModel
{
public:
    std::mutex searching; // the detector keeps its working memory between calls
    dlib::frontal_face_detector detector = dlib::get_frontal_face_detector();
    dlib::shape_predictor landmarks;
};

namespace {

// A second of loading and 100 MB: every window of the process shares the one model.
std::shared_ptr<FaceModel> sharedFaceModel(const QString &path)
{
    static std::mutex mutex;
    static std::map<QString, std::shared_ptr<FaceModel>> models;
    const std::lock_guard lock(mutex);
    std::shared_ptr<FaceModel> &model = models[path];
    if (!model)
        model = loadFaceModel(path);
    return model;
}

} // namespace

std::shared_ptr<FaceModel> loadFaceModel(const QString &landmarkModelPath)
{
    if (!QFile::exists(landmarkModelPath))
        return nullptr;
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

FaceSearch findFace(FaceModel &model, const QImage &upright)
{
    if (upright.isNull())
        return {};
    const QImage grey = upright.convertToFormat(QImage::Format_Grayscale8);
    dlib::array2d<unsigned char> pixels(grey.height(), grey.width());
    for (int y = 0; y < grey.height(); ++y)
        std::copy_n(grey.constScanLine(y), grey.width(), &pixels[y][0]);

    const std::lock_guard lock(model.searching);
    const std::vector<dlib::rectangle> faces = model.detector(pixels);
    FaceSearch search;
    search.faces = int(faces.size());
    if (faces.size() != 1)
        return search;
    const dlib::full_object_detection shape = model.landmarks(pixels, faces.front());
    FaceMarks marks;
    for (int i = JawFirst; i <= JawLast; ++i)
        marks.chin = std::max(marks.chin, double(shape.part(i).y()));
    for (const int corner : EyeCorners) {
        marks.eyeLine += shape.part(corner).y() / 4.0;
        marks.centreX += shape.part(corner).x() / 4.0;
    }
    search.face = marks;
    return search;
}

FaceSearch findFace(FaceModel &model, const Photo &photo)
{
    const QSize reduced = photo.size().scaled(SearchSide, SearchSide, Qt::KeepAspectRatio);
    const QSize size = photo.width() > SearchSide || photo.height() > SearchSide
        ? reduced.expandedTo(QSize(1, 1))
        : photo.size();
    const QRect whole(QPoint(), photo.size());
    // An enlarged reduced picture would blur the landmarks, or show faces that are not there.
    if (!photo.holdsPixelsFor(whole, size))
        photo.waitUntilComplete();
    FaceSearch search = findFace(model, photo.scaledCrop(whole, size));
    if (search.face) {
        const double sx = double(photo.width()) / size.width();
        const double sy = double(photo.height()) / size.height();
        search.face->chin *= sy;
        search.face->eyeLine *= sy;
        search.face->centreX *= sx;
    }
    return search;
}

FaceFinder::FaceFinder(const QString &modelPath, QObject *parent)
    : QObject(parent)
    , m_modelPath(modelPath)
{
    // One thread: the model is loaded before any search, and searches run in order.
    m_thread.setMaxThreadCount(1);
    m_thread.setExpiryTimeout(-1);
}

FaceFinder::~FaceFinder()
{
    m_thread.clear();
    m_thread.waitForDone();
}

void FaceFinder::loadModel()
{
    if (m_loading)
        return;
    m_loading = true;
    m_thread.start([this] { m_model = sharedFaceModel(m_modelPath); });
}

void FaceFinder::search(PhotoPtr photo)
{
    loadModel();
    const int ticket = ++m_latest;
    m_thread.start([this, photo = std::move(photo), ticket] {
        // A photo loaded since makes this one's search useless.
        if (ticket != m_latest)
            return;
        const FaceSearch result = m_model ? findFace(*m_model, *photo) : FaceSearch {};
        QMetaObject::invokeMethod(
            this, [this, photo, result] { emit found(photo, result); }, Qt::QueuedConnection);
    });
}
