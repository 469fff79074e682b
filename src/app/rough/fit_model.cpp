#include "app/rough/fit_model.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "document/design_io.h"
#include "document/file_type.h"
#include "files/file_access.h"
#include "files/file_messages.h"
#include "files/replacing_file.h"

namespace brevix::roughfit {

namespace {

std::string fitFigure(double value, int decimals, const char* unit) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f%s", decimals, value, unit);
    return buffer;
}

std::string lowerExtensionOf(const std::string& path) {
    const auto dot = path.find_last_of('.');
    const auto slash = path.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

std::string fileNameOf(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

RoughState preparedRough(rough::MeshRead read, std::string source) {
    RoughState state;
    state.source = std::move(source);
    if (!read.mesh) {
        state.error = read.error;
        return state;
    }
    rough::RoughCheck check = rough::prepareRough(std::move(*read.mesh));
    state.rough = std::move(check.rough);
    state.error = std::move(check.error);
    state.warnings = std::move(check.warnings);
    return state;
}

}  // namespace

RoughState roughFromFile(const std::string& path) { return preparedRough(rough::readMeshFile(path), path); }

RoughState roughFromShape(const std::string& shapeText) { return preparedRough(rough::shapeMesh(shapeText), shapeText); }

DesignChoice designFromFile(const std::string& path) {
    DesignChoice choice;
    choice.name = fileNameOf(path);
    const FileType type = fileTypeOf(path);
    if (type != FileType::Gem && type != FileType::Asc && type != FileType::Brx) {
        choice.error = path + ": not a design file (.gem, .asc or .brx)";
        return choice;
    }
    // A design opened here starts 8-fold with mirror image, as File > Open does.
    DesignRead read = readDesignFile(path, type, 8, 1);
    if (read.outcome != ReadOutcome::Read || read.damaged || !read.stone) {
        std::string why;
        for (const std::string& text : read.notes.texts()) why += (why.empty() ? "" : "\n") + text;
        choice.error = why.empty() ? path + ": no design could be read from it" : why;
        return choice;
    }
    choice.stone = std::shared_ptr<const Stone>(read.stone.release());
    return choice;
}

std::vector<FigureLine> fitFigureLines(const FitOutcome& outcome) {
    const rough::FitResult& r = outcome.result;
    if (!r.fits) return {};
    return {{"Width", fitFigure(r.widthMm, 2, " mm")},
            {"Length", fitFigure(r.lengthMm, 2, " mm")},
            {"Depth", fitFigure(r.depthMm, 2, " mm")},
            {"Weight", fitFigure(outcome.weightCt, 3, " ct")},
            {"Yield", fitFigure(r.yieldPercent, 1, " %")}};
}

void FitRoughModel::setRough(RoughState state) {
    rough_ = std::move(state);
    clearOutcome();
}

void FitRoughModel::setDesign(std::shared_ptr<const Stone> stone, std::string name) {
    design_ = std::move(stone);
    designName_ = std::move(name);
    clearOutcome();
}

void FitRoughModel::setSpecificGravity(double gravity) {
    specificGravity_ = gravity;
    if (outcome_ && outcome_->result.fits && design_ && gravity > 0)
        outcome_->weightCt =
            fittedCarats(*design_, outcome_->result.widthMm, outcome_->result.volumeMm3, gravity);
}

void FitRoughModel::clearOutcome() {
    outcome_.reset();
    ++generation_;  // the outcome of a fit in hand is stale when it comes
    fitting_ = false;
}

std::string FitRoughModel::missing() const {
    if (!rough_.rough) return "Open a rough mesh or enter a shape first.";
    if (!design_) return "Choose a design to fit.";
    if (specificGravity_ <= 0) return "Choose a material, or type its specific gravity, for the weight.";
    return {};
}

FitJob FitRoughModel::nextJob(const rough::FitOptions& options) {
    FitJob job;
    job.rough = rough_.rough;
    if (design_) job.stone = std::make_shared<Stone>(*design_);
    job.options = options;
    job.specificGravity = specificGravity_;
    job.generation = ++generation_;
    fitting_ = true;
    return job;
}

bool FitRoughModel::accept(FitOutcome outcome) {
    if (outcome.generation != generation_) return false;
    fitting_ = false;
    outcome_ = std::move(outcome);
    return true;
}

std::optional<std::string> placedStoneText(const rough::Mesh& mesh, const std::string& path,
                                           const std::string& solidName) {
    const std::string extension = lowerExtensionOf(path);
    if (extension == "stl") return rough::asciiStl(mesh, solidName);
    if (extension == "obj") return rough::objText(mesh);
    return std::nullopt;
}

bool savePlacedStone(const rough::Mesh& mesh, const std::string& path, const std::string& solidName,
                     std::string& error) {
    const std::optional<std::string> text = placedStoneText(mesh, path, solidName);
    if (!text) {
        error = path + ": save the placed stone as .stl or .obj";
        return false;
    }
    ReplacingFile file(path, false);
    if (!file.isOpen()) {
        error = fileMessage(filemsg::CANNOT_OPEN_TO_WRITE, path, file.problem());
        return false;
    }
    file.stream() << *text;
    if (!file.commit()) {
        error = fileMessage(filemsg::ERROR_WRITING, path, file.problem());
        return false;
    }
    return true;
}

}  // namespace brevix::roughfit
