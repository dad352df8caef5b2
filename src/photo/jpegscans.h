#pragma once

#include <QByteArrayView>

// The number of scans (start-of-scan markers) in JPEG bytes, found by walking the marker
// segments and the entropy-coded data between them as libjpeg does, without decoding anything.
// Counting stops once it passes `stopAfter`, so a hostile file costs no more than one pass over its
// bytes. Bytes that do not start like a JPEG have no scans.
int countJpegScans(QByteArrayView bytes, int stopAfter);
