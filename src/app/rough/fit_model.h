#pragma once
// The state of Fit into Rough without its window: the rough (from a mesh
// file or a shape), the design, the gravity for the weight, the options of
// the fit, and the last fit's outcome with the figures the window shows.
// Qt-free.
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/rough/fit_job.h"
#include "kernel/stone.h"
#include "rough/rough_fit.h"

namespace brevix::roughfit {

struct RoughState {
    std::shared_ptr<const rough::Rough> rough;  // null until one was read and accepted
    std::string source;                         // the file or the shape it came from
    std::string error;                          // why the last one was refused
    std::vector<std::string> warnings;
};

// A mesh file (STL or OBJ) or a shape ("box:10x8x6"), read and prepared.
RoughState roughFromFile(const std::string& path);
RoughState roughFromShape(const std::string& shapeText);

struct DesignChoice {
    std::shared_ptr<const Stone> stone;  // null when the file gave none
    std::string name;
    std::string error;
};
// A .gem, .asc or .brx design, read as the command line reads it.
DesignChoice designFromFile(const std::string& path);

// One "label: value" line each, in the window's order.
struct FigureLine {
    std::string label, value;
};
std::vector<FigureLine> fitFigureLines(const FitOutcome& outcome);

class FitRoughModel {
public:
    void setRough(RoughState state);
    const RoughState& rough() const { return rough_; }

    void setDesign(std::shared_ptr<const Stone> stone, std::string name);
    const Stone* design() const { return design_.get(); }
    const std::string& designName() const { return designName_; }

    // A new gravity weighs the stone already placed again: the fit itself
    // does not depend on it.
    void setSpecificGravity(double gravity);
    double specificGravity() const { return specificGravity_; }

    // Why no fit can start yet; "" when it can.
    std::string missing() const;
    // The next fit of the current inputs; its generation is the one whose
    // outcome accept() takes.
    FitJob nextJob(const rough::FitOptions& options);
    // Takes the outcome of the newest job; false (and nothing kept) for a
    // stale one.
    bool accept(FitOutcome outcome);
    // Forgets the last outcome and the fit in hand: the inputs they came
    // from changed.
    void clearOutcome();
    const std::optional<FitOutcome>& outcome() const { return outcome_; }
    bool fitting() const { return fitting_; }

private:
    RoughState rough_;
    std::shared_ptr<const Stone> design_;
    std::string designName_;
    double specificGravity_ = 0;
    uint64_t generation_ = 0;
    bool fitting_ = false;
    std::optional<FitOutcome> outcome_;
};

// The placed stone's mesh as the file type of `path` wants it: ASCII STL
// for ".stl", OBJ for ".obj" (any case). Nothing for another extension.
std::optional<std::string> placedStoneText(const rough::Mesh& mesh, const std::string& path,
                                           const std::string& solidName);
// Writes it so that a failed save leaves the previous file whole; false
// with the reason in `error`.
bool savePlacedStone(const rough::Mesh& mesh, const std::string& path, const std::string& solidName,
                     std::string& error);

}  // namespace brevix::roughfit
