// The one main() of the widget tests: `test_app NAME [QtTest options]` runs
// the test class registered as NAME, as its own QTEST_MAIN would have.
#include <QApplication>
#include <QTest>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "widget_test.h"

namespace brevix::test {
namespace {

std::map<std::string, WidgetTestFactory>& registry() {
    static std::map<std::string, WidgetTestFactory> tests;
    return tests;
}

std::string stemOf(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

}  // namespace

bool registerWidgetTest(const char* file, WidgetTestFactory make) {
    registry()[stemOf(file)] = std::move(make);
    return true;
}

}  // namespace brevix::test

int main(int argc, char** argv) {
    auto& tests = brevix::test::registry();
    const auto test = argc > 1 ? tests.find(argv[1]) : tests.end();
    if (test == tests.end()) {
        std::fprintf(stderr, "usage: %s TEST [QtTest options]\nwhere TEST is one of:\n", argv[0]);
        for (const auto& [name, make] : tests) std::fprintf(stderr, "  %s\n", name.c_str());
        return 2;
    }
    // QtTest sees the options only, as under QTEST_MAIN.
    std::vector<char*> args{argv[0]};
    args.insert(args.end(), argv + 2, argv + argc);
    int count = static_cast<int>(args.size());
    QApplication app(count, args.data());
    app.setAttribute(Qt::AA_Use96Dpi, true);
    const auto object = test->second();
    return QTest::qExec(object.get(), count, args.data());
}
