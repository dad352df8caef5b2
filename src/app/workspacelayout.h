#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>

// What the placement of the frame's guides and buttons reads, in twips.
struct WorkspaceLayoutInput
{
    QRectF frame; // left and top stay at 660, 1380
    QRectF oval; // the face guide, from the frame's top-left
    double outlineWidth = 3; // the outline's border in pixels, used as twips
    double outlineLeft = 690;
    QSizeF dropLabel;
    QSizeF zoomIn, zoomOut, moveUp, moveRight;
    double moveUpTop = 1020;
    double moveLeftLeft = 300;
};

// Where layoutWorkspace puts everything, unrounded.
struct WorkspacePlacement
{
    QRectF outline; // rectangle outline of the empty frame
    QRectF oval; // oval face guide
    QPointF dropLabel; // drop-zone text, top-left
    QPointF zoomIn, zoomOut; // zoom in, zoom out
    QPointF moveUp, moveDown; // up, down
    QPointF moveRight, moveLeft; // right, left
};

WorkspacePlacement placeWorkspace(const WorkspaceLayoutInput &input);
