#pragma once

#include "onlinecopysize.h"
#include "photo/cropsource.h"
#include "sheetexport.h"

#include <QByteArray>

// The fitted photo alone, encoded for an online application.
struct OnlineCopyJpeg
{
    QByteArray bytes; // empty when there is none
    ExportResult failure; // why there is none: NotDecoded, OverSizeLimit or Failed
};

// The photo's own pixels at the plan's size, at the best quality whose file keeps within the
// plan's limit.
OnlineCopyJpeg encodeOnlineCopy(const ClipImage &clip, const OnlineCopyPlan &plan);
