#pragma once
// The stone: a convex polyhedron held as three index-addressed arrays of
// plain records (facets, edges, vertices), plus the design data that travels
// with it. Every design is a rough cube with planes cut into it; the planes
// are the design, vertices and edges are derived from them.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "kernel/geometry.h"
#include "kernel/plane.h"
#include "platform/diagnostics.h"

namespace brevix {

// Facet::flags bits.
enum FacetFlag : uint32_t {
    KEEP = 1,   // working bit of a cut: an edge of the facet keeps something
    LOSE = 2,   // working bit of a cut: an edge of the facet loses something
    ROUGH = 4,  // face of the rough block
};

// Status values shared by the three records.
enum RecordStatus : int32_t {
    ST_ON = 0,       // vertex on the cutting plane / edge lying in it
    ST_OUT = 1,      // outside the cutting plane (removed by the cut)
    ST_CUT = 2,      // facet shrunk by the cut / edge crossing the plane
    ST_TOUCH = 3,    // edge kept, touching the plane
    ST_PRESENT = 4,  // present, untouched
    ST_DELETE = 8,   // facet marked for deletion
};

struct Facet {
    double a = 0, b = 0, c = 0;  // unit outward normal
    double d = 0;                // distance of the plane from the origin
    std::string name;            // empty = unnamed
    std::string instruction;     // the tier's instruction; at most one facet of a tier holds it
    Vec3 labelCenter;
    double labelArea = 0;
    int32_t anchor = -1;  // working vertex for fan triangulation
    int32_t tier = 0;
    int32_t axis = 0;  // axis of the normal's largest component
    int32_t status = ST_PRESENT;
    uint32_t flags = 0;

    // Working data of the views, never stored.
    int32_t labelPx = 0, labelPy = 0;
    std::array<double, 4> girdleBox{};

    bool hasFlag(uint32_t flag) const { return (flags & flag) != 0; }
    bool isRough() const { return hasFlag(ROUGH); }
    Vec3 normal() const { return {a, b, c}; }
    Plane plane() const { return {a, b, c, d}; }
    void computeAxis();
    // Sets the plane and tier as a freshly cut facet; name and instruction are left alone.
    void init(double na, double nb, double nc, double nd, int32_t newTier, bool rough);
    // Takes over another record as compaction, sorting and regrouping do:
    // strings move with it, the status becomes present and only ROUGH survives of the flags.
    void takeRecord(Facet& source);
};

struct Vertex {
    double x = 0, y = 0, z = 0;
    double dist = 0;  // signed distance to the most recent cutting plane, + outside
    double sx = 0, sy = 0;
    int32_t px = 0, py = 0;
    int32_t status = ST_PRESENT;

    Vec3 pos() const { return {x, y, z}; }
};

struct Edge {
    // (v[1] - v[0]) . (normal f[0] x normal f[1]) >= 0
    std::array<int32_t, 2> v{};
    std::array<int32_t, 2> f{};
    int32_t status = ST_PRESENT;
    double pixelLength = 0;  // working data of the views
};

struct Stats {
    double minX = 0, minY = 0, minZ = 0;
    double maxX = 0, maxY = 0, maxZ = 0;
    double tableMaxX = 0, tableMinX = 0, tableMinY = 0, tableMaxY = 0;
    double xPlusMin = 0, xMinusMax = 0, yPlusMin = 0, yMinusMax = 0;
    double crownBottom = 0, pavilionTop = 0;
    double L = 0, W = 0;
    double volume = 0;
    double centroidX = 0, centroidY = 0, centroidZ = 0;
};

// The largest index gear a design file may name. Every index is printed as
// wide as the gear's count of teeth, so an unbounded gear would mean
// unbounded text.
constexpr int32_t MAX_GEAR_TEETH = 100000;

class Stone {
public:
    static constexpr int32_t INITIAL_FACETS = 202, INITIAL_EDGES = 500, INITIAL_VERTICES = 300;
    static constexpr int32_t FLOOR_FACETS = 22, FLOOR_EDGES = 50, FLOOR_VERTICES = 30;
    static constexpr int32_t INITIAL_RAY_DOUBLES = 400;

    explicit Stone(double halfSize = ROUGH_HALF);
    // A null source notes "NULL in copy constructor" and gives a fresh rough stone.
    explicit Stone(const Stone* source);
    Stone(const Stone& source);
    Stone& operator=(const Stone& source);
    Stone(Stone&&) noexcept = default;
    Stone& operator=(Stone&&) noexcept = default;
    ~Stone() = default;

    // Assignment with the notes of the design: a source equal to this
    // stone changes nothing; see also copyInto for a null destination,
    // which returns its note as there is no stone to hold it.
    void copy(const Stone& source);
    static Diagnostics copyInto(Stone* destination, const Stone& source);

    // ---- notes ---------------------------------------------------------
    // What the operations that changed this stone had to say ("Internal
    // warning: …"), in order, until the caller takes them. Kept with the
    // stone rather than shown, so that stones on different threads never
    // share anything; a copy starts without notes. Reading a stone never
    // adds to them: a query with something to say returns it.
    const Diagnostics& diagnostics() const { return notes_; }
    Diagnostics takeDiagnostics() { return std::exchange(notes_, Diagnostics{}); }
    // For the operations of the design model that work on this stone.
    void addNote(DiagKind kind, DiagCode code, std::string_view text) { notes_.add(kind, code, text); }
    void addNote(const Diagnostic& note) { notes_.add(note); }
    void addNotes(Diagnostics&& notes) { notes_.append(std::move(notes)); }

    // Replaces the polyhedron by the cube [-s, s]^3. Names and instructions
    // in the first six facet slots are overwritten without ceremony.
    void makeRough(double s);

    // ---- cutting -------------------------------------------------------
    // Cuts the plane a.x + b.y + c.z = d (unit normal, d > 0) into the
    // stone. Returns the number of non-rough facets removed entirely, or -1
    // when no vertex lies outside (then the stone does not take the strings).
    // Throws KernelError when the arrays stop being a polyhedron.
    int newFacet(double a, double b, double c, double d, std::string name = {},
                 std::string instruction = {});
    int32_t newVertex(double x, double y, double z);
    void newEdge(int32_t va, int32_t vb, int32_t fa, int32_t fb);
    void compact();
    // Plane from azimuth and tilt (radians, azimuth 0 along +y) at distance
    // `depth`; foldNegative turns a negative tilt into a downward plane.
    int cutByAngle(double azimuth, double tilt, double depth, bool foldNegative);
    // The plane cutByAngle cuts, as a, b, c, d.
    static std::array<double, 4> planeByAngle(double azimuth, double tilt, double depth, bool foldNegative);

    // ---- rebuilding (regenerate.cpp) -------------------------------------
    void regenerate();
    // The same within a larger rough block, for a design stretched beyond
    // the standard one, which the standard block would clip.
    void regenerate(double halfSize);
    void rebuildWithout();  // leaves out facets with status ST_DELETE

    // ---- queries -------------------------------------------------------
    double facetAngleOf(int32_t facet) const;
    // The facet's index on the gear; 0 on a stone without a gear.
    double facetIndexOf(int32_t facet) const;
    // The same, and a stone without a gear says so in `notes` ("Zero index gear").
    double facetIndexOf(int32_t facet, Diagnostics& notes) const;
    double dihedralAngle(int32_t edge) const;
    const std::string& facetName(int32_t facet) const { return facets[facet].name; }
    void setFacetName(int32_t facet, std::string_view name);
    // The tier's instruction: the first one held by a facet of the same tier.
    const std::string& instructionOf(int32_t facet) const;
    void setInstruction(int32_t facet, std::string_view text);
    int32_t tierOf(int32_t facet) const { return facets[facet].tier; }
    Vec3 edgeEnd(int32_t edge, int end) const;
    double edgeEndDistance(int32_t edge, int end, Vec3 point) const;
    int32_t facetByPlane(double a, double b, double c) const;
    double facetArea(int32_t facet) const;
    // The largest of the stone's widths along x, y and z (0 without vertices).
    double largestWidth() const;

    // ---- design record -------------------------------------------------
    void setHeading(std::array<std::string, 4> lines) { heading = std::move(lines); }
    void setFootnote(std::array<std::string, 4> lines) { footnote = std::move(lines); }
    // Takes ownership; setting the preform already held does nothing.
    void setPreform(std::unique_ptr<Stone> newPreform);
    void detectSymmetry();

    // ---- light rays (raytrace.cpp) ---------------------------------------
    // Where a ray meets the surface: the facet (-1: none), the point, and
    // c = n.D of that facet's outward normal n.
    struct RayHit {
        int32_t facet = -1;
        Vec3 point{};
        double c = 0;
    };
    // What became of a traced ray.
    enum class RayEnd { Missed, LeftStone, NoExit, TooManyReflections };
    // A path stops after this many internal reflections instead of circling
    // for ever in a stone that traps it.
    static constexpr int MAX_REFLECTIONS = 100;
    // Distance the closing stub of a path runs beyond the last point.
    static constexpr double RAY_STUB = 0.7;

    // sign +1: the ray from p along d comes from outside and enters; sign -1:
    // it travels inside and leaves. Sets the anchors of the facets it tests.
    RayHit intersect(int sign, Vec3 p, Vec3 d);
    // Turns d at `facet` by the refractive index (Snell's law, or a mirror
    // when the light is totally reflected); 1 when the ray has left the
    // stone, 0 when it goes on inside.
    int refract(Vec3& d, int32_t facet, double c) const;
    // Shoots a ray from p along the unit direction d and records its path:
    // start, entry, each internal reflection, exit and a stub beyond it.
    // A miss records nothing.
    RayEnd traceRay(Vec3 p, Vec3 d);
    void addRayPoint(double start, double x, double y, double z);
    // Forgets the paths and keeps the array for the next ones.
    void eraseRays();

    // ---- invariants, for tests and diagnostics -------------------------
    int32_t eulerSum() const { return nFacet + nVertex - nEdge; }

    // Fields, in the order of the design.
    std::vector<Facet> facets;      // size() == maxFacet
    std::vector<Edge> edges;        // size() == maxEdge
    std::vector<Vertex> vertices;   // size() == maxVertex
    int32_t nFacet = 0, maxFacet = 0;
    int32_t nEdge = 0, maxEdge = 0;
    int32_t nVertex = 0, maxVertex = 0;
    int32_t nRough = 0;
    int32_t nGirdle = 0;
    std::unique_ptr<Stone> preform;
    Stats stats;
    int32_t gear = 96;  // its magnitude at most MAX_GEAR_TEETH in any design file
    double indexOffset = 0;
    double refractiveIndex = 1.54;
    int32_t symmetry = 8;
    int32_t mirror = 1;
    std::array<std::string, 4> heading;   // empty = no line
    std::array<std::string, 4> footnote;  // empty = no line
    std::vector<double> rays;             // size() == ray capacity; four doubles a point
    int32_t nRay = 0;                     // doubles in use

    void growFacets(int32_t count);
    void growEdges(int32_t count);
    void growVertices(int32_t count);

private:
    void copyFrom(const Stone& source);
    int32_t tierForNewFacet(double c, double d) const;
    void closeCutFacet(int32_t facet, int32_t newFacetIndex);
    int32_t appendVertex(double x, double y, double z);
    void warnIfClose(double x, double y, double z, const Vertex& existing);
    void checkNewEdge(int32_t va, int32_t vb, int32_t fa, int32_t fb) const;
    void appendEdge(int32_t va, int32_t vb, int32_t fa, int32_t fb);

    // The cut as the design gives it, step by step; newFacet checks its
    // result and falls back to the exact rebuild when it is not whole.
    int cutAsSpecified(double a, double b, double c, double d, std::string name,
                       std::string instruction);
    bool cutLeftRingsWhole();
    bool compactCut();  // false when an edge dangles or the Euler sum is off
    int32_t compactRecords();
    int recutExactly(int32_t facetsBefore);

    Diagnostics notes_;
    // Renumbering tables of compaction, reused from cut to cut.
    std::vector<int32_t> vertexMap_, facetMap_;
    // Half-size of the rough block this stone was cut from, for rebuilding.
    double roughHalf_ = ROUGH_HALF;
    // Facets the running cut has dropped, by their index before it, so that
    // a cut found broken can be redone from every plane it started with.
    std::vector<std::pair<int32_t, Facet>> dropped_;
    bool keepDropped_ = false, compacted_ = false, cutWhole_ = false;
    // Facets the running cut shrinks, edges it found lying in the plane, and
    // per-record counters of the check that follows it.
    std::vector<int32_t> cutFacets_, inPlane_;
    std::vector<int32_t> facetCount_, vertexCount_;
    std::vector<std::array<int32_t, 2>> ringSlots_;
    // Working lists of one cut, so that its searches visit only the records
    // that can match: vertices on or near the plane, edges crossing or
    // touching it, edges already on the new facet.
    std::vector<int32_t> nearPlane_, crossing_, onNewFacet_;
};

}  // namespace brevix
