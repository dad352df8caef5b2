#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>

// What the placement of the frame's guides and buttons reads, in twips.
struct WorkspaceLayoutInput
{
    QRectF frame; // Image1: left and top stay at 660, 1380
    double outlineWidth = 3; // Shape1's border in pixels, used as twips
    double shape1Left = 690;
    QSizeF label1;
    QSizeF command3, command4, command5, command7;
    double command5Top = 1020;
    double command8Left = 300;
};

// Where LayoutWorkspace puts everything, unrounded.
struct WorkspacePlacement
{
    QRectF shape1; // rectangle outline of the empty frame
    QRectF shape2; // oval face guide
    QPointF label1; // drop-zone text, top-left
    QPointF command3, command4; // zoom in, zoom out
    QPointF command5, command6; // up, down
    QPointF command7, command8; // right, left
};

WorkspacePlacement placeWorkspace(const WorkspaceLayoutInput &input);
