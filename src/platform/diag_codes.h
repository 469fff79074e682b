#pragma once
// The codes of the core's notes, one per message (or per family of messages
// with the same wording), grouped by the subsystem that gives them. A value
// never changes meaning once given: tests and callers tell failures apart by
// it. 0 is a note passed on from a message sink, which knows no code.
#include <cstdint>

#include "platform/diagnostics.h"

namespace brevix {

enum class DiagCode : uint16_t {
    FromSink = 0,

    // kernel: a cut, a copy and the stone's queries (100-)
    KernelBadEdge = 100,          // "Internal warning: Bad edge"
    KernelDuplicateEdges,         // "Internal warning: Duplicate edges between facets %d and %d!"
    KernelCloseVertex,            // "Internal warning: New vertex … close to …"
    KernelShortEdge,              // "Internal warning: Short edge from vertex …"
    KernelEulerFailed,            // "Internal error: flunked Euler-Descartes test …"
    KernelBrokenPolyhedron,       // a KernelError's own text ("Internal error: …")
    KernelNullCopySource,         // "NULL in copy constructor"
    KernelCopyOntoItself,         // "Stone::copy() source and destination identical"
    KernelNullCopyDestination,    // "NULL pointer in Stone::copy()"
    KernelZeroGear,               // "Zero index gear"

    // design: measures, tiers, transforms, preforms (200-)
    DesignLabelVertexOutOfBounds = 200,  // "Vertex out of bounds in FacetLabelCenters()"
    DesignTransformFailed,               // "Oops"
    DesignPreformTopMisses,              // "Top facet misses"
    DesignPreformDeleted,                // "Existing preform deleted."
    DesignPreformFlatPlane,              // three points of a preform plane that make no plane
    DesignNoPavilionFacets,              // "No pavilion facets"
    DesignTierNotFound,                  // "tier not found in changeTierName()"
    DesignTierOutOfRange,                // "tier out of range"

    // facet placement: the Cut Facet form and its point solvers (300-)
    FormAngleOutOfRange = 300,  // "Angle should be between -90 and 90"
    FormSymmetryNotPositive,    // "Symmetry should a positive number"
    FormPointTooClose,          // "New point is too close to point %d."
    SolverCedReduced,           // "Point closer to origin than CED.\nCED reduced."
    SolverSameZ,                // "Can't make facet: same Z"
    SolverXZero,                // "Can't make facet: X=0"
    SolverThroughCentre,        // "Can't make facet: through center", "New facet cuts through center of stone", "New cuts through center of stone"
    SolverAngle90,              // "Won't work with angle of 90"
    SolverCollinear,            // "Cannot make new facet because points are co-linear"
    SolverNoIndex,              // "Couldn't find index"

    // files: reading and writing design, picture and export files (400-)
    FileCannotOpenToRead = 400,  // "Cannot open %s to read"
    FileCannotOpenToWrite,       // "Cannot open %s to write." (and the DXF wording)
    FileErrorWriting,            // "Error writing %s. Disk full?"
    FileNotAsc,                  // "Not a Brevix text file"
    FileFacetThroughCentre,      // "Facet through center ignored"
    FileInstructionWithoutText,  // "G but no cutting instructions"
    FileIndexBeforeAngle,        // the tally of indexes before an angle
    FileIndexWithZeroGear,       // the tally of indexes with a zero gear
    FileIndexNotFinite,          // the tally of indexes that give no plane
    FileNameTruncated,           // the tally of names cut short
    FileNameBlanks,              // a written name's blanks became '_'
    FileLineBreaks,              // a written line's line breaks became blanks
    FileGearOutOfRange,          // a gear no design may hold: reading stops
    FileIndexOffsetRefused,      // an index offset no design may hold: reading stops
    FileSymmetryRefused,         // a symmetry refused, the design's kept
    FileRefractiveIndexRefused,  // a refractive index refused, the design's kept
    FileFormatCannotHold,        // a design the format cannot hold: a gear too large, a text too long, a plane too near the centre
    FileGemBadTextLength,        // a text of impossible length in a .gem file
    FileGemBadPole,              // a pole record of impossible length
    FileGemBadRing,              // a facet's ring of impossible length
    FileGemNoEndOfFacets,        // the facets ran to the end of the file
    FileGemDeepPreforms,         // preforms nested deeper than read
    FileGemHasPreform,           // "File has a preform"
    FileGemDosWarning,           // a .gem file old readers will not take
    FileGemNameTabs,             // tabs in names of a .gem file
    FileThbPointOutOfBounds,     // a thumbnail's point out of bounds
    FileThbEndedAbnormally,      // "Thumbnail file ended abnormally."
    FileThbTooLarge,             // a design too large for a thumbnail
    FileBrokenAfterCut,          // the polyhedron broke as a plane was read
    FileReadStoppedAtFacet,      // reading stopped at a facet
    FileStowVersion,             // a STOW library of another version
    FileStowCorrupt,             // a STOW library whose header or table is wrong
    FileDatabaseUnknownField,    // a database table with a field not known
    FileDatabaseLastOne,         // the last design a search found
    FileDatabaseCannotOpenMember,  // a library member that cannot be opened
    FileDatabaseNoSuchDesign,    // no design of that name in the database

    // document: opening and saving designs, the document's commands (500-)
    DocCorruptFile = 500,      // a .gem or .asc file that is not one
    DocLastLineUnended,        // a text file whose last line has no end
    DocDamagedFile,            // a file cut short
    DocIntentFileNotOne,       // a .brx file that is not one
    DocIntentFileNote,         // what reading a .brx file had to say
    DocIntentFileStopped,      // a .brx file read up to a bad line
    DocCannotReadType,         // a file type that cannot be opened
    DocCannotWriteType,        // a file type that cannot be saved
    DocNotReadBack,            // a .brx file that would not read back
    DocReadFailed,             // a kernel failure while reading a file
    DocIndexNotAboveOne,       // a refractive index not above 1

    // intent: what a re-cut by the design's intent could not keep (550-)
    IntentNotKept = 550,  // "Tier %d keeps its last place: %s."
    IntentNoSuchTier,     // "There is no tier %d to change."
    IntentBeyondLimits,   // a tier no design file could hold

    // views (600-)
    ViewNoCanvas = 600,  // "DC NULL in View::fillbrush()"
};

}  // namespace brevix
