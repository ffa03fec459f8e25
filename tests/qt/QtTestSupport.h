// What the Qt tests share: a fresh backend and platform per test, and a form that records the
// handlers the window system drove.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "forms/Form.h"
#include "qt/FormWindow.h"
#include "qt/QtBackend.h"
#include "qt/QtPlatform.h"

namespace tavrolin::qt::test {

struct MouseCall {
    std::string kind;  // "down", "move", "up"
    int button;
    int shift;
    double x;  // twips
    double y;
    friend bool operator==(const MouseCall&, const MouseCall&) = default;
};

inline std::ostream& operator<<(std::ostream& out, const MouseCall& m) {
    return out << m.kind << "(" << m.button << ", " << m.shift << ", " << m.x << ", " << m.y
               << ")";
}

struct KeyCall {
    int keyCode;
    int shift;
    friend bool operator==(const KeyCall&, const KeyCall&) = default;
};

inline std::ostream& operator<<(std::ostream& out, const KeyCall& k) {
    return out << "key(" << k.keyCode << ", " << k.shift << ")";
}

class TestForm : public Form {
public:
    explicit TestForm(Backend& backend, std::string name = "TestForm")
        : Form(backend, std::move(name)) {}

    void Form_MouseDown(int b, int s, double x, double y) override {
        mouse.push_back({"down", b, s, x, y});
        if (onMouseDown) onMouseDown(b, s, x, y);
    }
    void Form_MouseMove(int b, int s, double x, double y) override {
        mouse.push_back({"move", b, s, x, y});
        if (onMouseMove) onMouseMove(b, s, x, y);
    }
    void Form_MouseUp(int b, int s, double x, double y) override {
        mouse.push_back({"up", b, s, x, y});
    }
    void Form_Load() override {
        if (onLoad) onLoad();
    }
    void Form_DblClick() override { ++dblClicks; }
    void Form_KeyDown(int& keyCode, int& shift) override {
        keys.push_back({keyCode, shift});
        if (onKeyDown) onKeyDown(keyCode, shift);
    }
    void Form_KeyPress(int& keyAscii) override { presses.push_back(keyAscii); }
    void Form_MouseWheel(int delta, int shift) override { wheel.push_back({delta, shift}); }
    void Form_QueryClose() override { ++closeRequests; }
    void Form_Activate() override { ++activations; }

    std::function<void()> onLoad;
    std::function<void(int, int, double, double)> onMouseDown;
    std::function<void(int, int, double, double)> onMouseMove;
    std::function<void(int&, int&)> onKeyDown;
    std::vector<MouseCall> mouse;
    std::vector<KeyCall> keys;
    std::vector<int> presses;
    std::vector<std::pair<int, int>> wheel;  // delta, shift
    int dblClicks = 0;
    int closeRequests = 0;
    int activations = 0;
};

class QtTest : public ::testing::Test {
protected:
    QtBackend backend;
    QtPlatform platform{backend};

    void TearDown() override {
        forms_.clear();
        // Windows of unloaded forms delete themselves from the event loop.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A loaded, shown form at (left, top) with the given client size, all twips.
    TestForm& MakeForm(double left = 1500, double top = 1500, double width = 4500,
                       double height = 1500) {
        auto form = std::make_unique<TestForm>(backend);
        TestForm& ref = *form;
        forms_.push_back(std::move(form));
        ref.Move(left, top, width, height);
        ref.Show();
        backend.Sync();
        Settle();  // on screen, as the user sees it
        return ref;
    }

    FormWindow& Window(const Form& form) {
        FormWindow* w = backend.WindowOf(form);
        EXPECT_NE(w, nullptr);
        return *w;
    }

    template <class T>
    T* WidgetOf(const Form& form, const Control& control) {
        return qobject_cast<T*>(Window(form).WidgetOf(&control));
    }

    // Lets the window system's queued answers (geometry, activation) arrive.
    static void Settle() {
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    }

private:
    std::vector<std::unique_ptr<Form>> forms_;
};

}  // namespace tavrolin::qt::test
