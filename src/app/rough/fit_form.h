#pragma once
// What the user typed into Fit into Rough, checked field by field: the
// shape's sizes, the margin and the spheres to avoid. Each field that is
// not a usable number gets a message naming it, so that the dialog can list
// every problem at once instead of refusing one field at a time.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "rough/rough_fit.h"

namespace brevix::roughfit {

enum class ShapeKind { Box, Cylinder, Ellipsoid };

// The size fields a shape has, in order, as the dialog labels them.
std::vector<std::string> shapeSizeNames(ShapeKind kind);

// A number as typed: blanks around it are ignored and a
// decimal comma is taken for a point. Nothing for anything else.
std::optional<double> typedNumber(const std::string& text);

struct AvoidRowText {
    std::string x, y, z, radius;
};

struct FitFormText {
    ShapeKind shape = ShapeKind::Box;
    std::array<std::string, 3> shapeSizes;  // the first shapeSizeNames(shape).size() count
    std::string margin;
    std::vector<AvoidRowText> avoid;
};

struct CheckedShape {
    std::string shapeText;  // "box:10x8x6", as shapeMesh reads it; "" when a size is bad
    std::vector<std::string> problems;
};
CheckedShape checkShape(const FitFormText& form);

struct CheckedOptions {
    rough::FitOptions options;  // margin and spheres; only meaningful without problems
    std::vector<std::string> problems;
};
CheckedOptions checkFitOptions(const FitFormText& form);

}  // namespace brevix::roughfit
