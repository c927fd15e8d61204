#pragma once

class QApplication;

// Before the first window: names, German locale and translations whatever the machine's locale.
namespace AppSetup {
void configure(QApplication& app);
}
