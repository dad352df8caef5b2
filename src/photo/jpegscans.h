#pragma once

#include <QByteArrayView>

struct JpegSegments
{
    int scans = 0; // start-of-scan markers
    qint64 metadataBytes
        = 0; // every byte outside the entropy-coded data: markers, tables, APPn, COM
};

// The scans and metadata of JPEG bytes, found by walking the marker segments and the
// entropy-coded data between them as libjpeg does, without decoding anything. The walk stops
// once the scans pass `stopAfterScans`, so a hostile file costs no more than one pass over its
// bytes. Bytes that do not start like a JPEG have neither.
JpegSegments readJpegSegments(QByteArrayView bytes, int stopAfterScans);
