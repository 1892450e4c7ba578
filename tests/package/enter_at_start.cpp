// A Qt generic plugin for checking a built or installed program from outside: loaded into it
// through QT_PLUGIN_PATH and QT_QPA_GENERIC_PLUGINS=norvalde-enter-at-start, it waits until a
// window has the keyboard focus, prints that window's title and the focused control's text on
// standard error, and presses Enter once in that window, as a user would right after start-up.
// The program itself carries nothing for this.
#include <QGenericPlugin>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>
#include <QWindow>
#include <cstdio>

namespace {

class EnterAtStart : public QObject {
 public:
  EnterAtStart() {
    // Polled, because the plugin is created before the program has made its window.
    connect(&poll_, &QTimer::timeout, this, &EnterAtStart::PressWhenFocused);
    poll_.start(50);
  }

 private:
  void PressWhenFocused() {
    QPointer<QWindow> window = QGuiApplication::focusWindow();
    QObject* focus = QGuiApplication::focusObject();
    if (window == nullptr || !window->isExposed() || focus == nullptr) return;
    poll_.stop();
    std::fprintf(stderr, "window \"%s\", focus \"%s\", Enter pressed\n",
                 qPrintable(window->title()), qPrintable(focus->property("text").toString()));
    std::fflush(stderr);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QCoreApplication::sendEvent(window, &press);
    if (window == nullptr) return;
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QCoreApplication::sendEvent(window, &release);
  }

  QTimer poll_;
};

}  // namespace

class EnterAtStartPlugin : public QGenericPlugin {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "enter_at_start.json")

 public:
  QObject* create(const QString& key, const QString&) override {
    return key.compare(QLatin1String("norvalde-enter-at-start"), Qt::CaseInsensitive) == 0
               ? new EnterAtStart
               : nullptr;
  }
};

#include "enter_at_start.moc"
