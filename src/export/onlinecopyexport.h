#pragma once

#include "onlinecopysize.h"
#include "photo/cropsource.h"
#include "sheetexport.h"

#include <QByteArray>

#include <atomic>

// The fitted photo alone, encoded for an online application.
struct OnlineCopyJpeg
{
    QByteArray bytes; // empty when there is none
    ExportResult failure; // why there is none: NotDecoded, OverSizeLimit or Failed
    bool underLeast = false; // the bytes stay under the plan's lower limit
};

// The photo's own pixels at the plan's size, at the best quality whose file keeps within the
// plan's limit; a file under its lower limit at the lowest higher quality that reaches it, or
// the highest that keeps within the limit when none does. Runs off the window's thread: once
// `stop` is set it ends soon, with the outcome Cancelled and no bytes.
OnlineCopyJpeg encodeOnlineCopy(
    const ClipImage &clip, const OnlineCopyPlan &plan, const std::atomic<bool> *stop = nullptr);
