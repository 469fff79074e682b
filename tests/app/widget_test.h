#pragma once
// Every widget test class registers itself here instead of bringing its own
// main(), so all of them link into one program: the window is linked once,
// not once a test. Each still runs in a process of its own (the program runs
// the class it is named), so no test sees another's window or settings.
#include <QObject>
#include <functional>
#include <memory>

namespace brevix::test {

using WidgetTestFactory = std::function<std::unique_ptr<QObject>()>;

// `file` is the test's source file; the test is known by its name without
// folder and extension ("panes_test").
bool registerWidgetTest(const char* file, WidgetTestFactory make);

}  // namespace brevix::test

#define BREVIX_WIDGET_TEST(TestClass)                                                          \
    static const bool registered##TestClass = brevix::test::registerWidgetTest(              \
        __FILE__, [] { return std::unique_ptr<QObject>(std::make_unique<TestClass>()); });
