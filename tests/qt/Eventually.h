#pragma once
// Waiting with the event loop running, for GoogleTest: QTest's QTRY_ macros
// return silently from the test outside a QTest test, so a wait that times
// out would pass.

#include <QTest>

#include <functional>

namespace daro::test {

inline bool eventually(const std::function<bool()>& holds, int ms = 5000) {
    for (int waited = 0; waited < ms; waited += 20) {
        if (holds()) return true;
        QTest::qWait(20);
    }
    return holds();
}

}  // namespace daro::test
