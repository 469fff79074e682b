#pragma once
// The wait cursor around long work of the core (rounding every index,
// rebuilding a reflected stone). The GUI gives the document an indicator
// that shows the cursor; without one the guard does nothing.
namespace brevix {

class BusyIndicator {
public:
    virtual ~BusyIndicator() = default;
    virtual void begin() = 0;
    virtual void end() = 0;
};

// Shows `indicator`'s wait cursor (if any) for its lifetime.
class BusyCursor {
public:
    explicit BusyCursor(BusyIndicator* indicator);
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    BusyIndicator* indicator_;
};

}  // namespace brevix
