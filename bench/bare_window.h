#pragma once

#include <QWidget>

#include <memory>

namespace quillmere {

// A plain window of the tool's size holding the tool's twelve controls as plain widgets with
// their captions at their fixed places: no fonts, colours, handlers or icon of the tool's own.
// What the real window costs beyond it is the tool's.
std::unique_ptr<QWidget> makeBareWindow();

}  // namespace quillmere
