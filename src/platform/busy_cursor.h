#pragma once
// The wait cursor around long work of the core (rounding every index,
// rebuilding a reflected stone). The GUI installs an indicator that shows
// the cursor; without one the guard does nothing.
namespace brevix {

class BusyIndicator {
public:
    virtual ~BusyIndicator() = default;
    virtual void begin() = 0;
    virtual void end() = 0;
};

// Installs `indicator` process-wide (null removes it) and returns the previous one.
BusyIndicator* setBusyIndicator(BusyIndicator* indicator);

// Shows the wait cursor for its lifetime.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    BusyIndicator* indicator_;
};

}  // namespace brevix
