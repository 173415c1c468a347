#pragma once

#include <QMargins>
#include <QRect>

namespace platform {

// Where a window goes on the screen, its window manager's frame included.
// The frame's margins are known only once the window manager has framed the
// window; until then they are taken as none.

// `size` made smaller, keeping its proportions, so that the window with its
// frame fits in `area`; `size` itself where it fits.
QSize fittedInto(QSize size, const QMargins& frame, const QRect& area);

// Where the frame `frame` goes once moved as little as it takes to lie
// within `area` (its top-left corner on `area` where it is the larger).
QPoint keptWithin(const QRect& frame, const QRect& area);

// The top-left corner of a frame of `size` centred over `owner`.
QPoint centredOver(const QSize& size, const QRect& owner);

}  // namespace platform
