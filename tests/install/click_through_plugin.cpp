// A Qt generic plugin that works the panel as an operator would: Set Register, Upload, Exit,
// answering each message box with OK and printing it on standard error. Loaded into an
// installed, unchanged orvane-panel with QT_QPA_GENERIC_PLUGINS=orvaneclickthrough.
#include <QApplication>
#include <QGenericPlugin>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

namespace {

class ClickThrough final : public QObject {
public:
    ClickThrough() {
        connect(&timer_, &QTimer::timeout, this, &ClickThrough::step);
        timer_.start(200);
    }

private:
    void step() {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            std::fprintf(stderr, "click-through: message \"%s\"\n", qPrintable(box->text()));
            box->accept();
            return;
        }
        static constexpr const char* buttons[] = {"&Set Register", "&Upload", "E&xit"};
        if (next_ >= std::size(buttons))
            return;
        for (QWidget* widget : QApplication::allWidgets()) {
            auto* button = qobject_cast<QPushButton*>(widget);
            if (button != nullptr && button->isVisible() && button->text() == buttons[next_]) {
                std::fprintf(stderr, "click-through: press \"%s\"\n", buttons[next_++]);
                // Clicked outside this timer's slot: a timer does not fire again while its slot
                // runs, and the next steps answer the message box the click may open.
                QMetaObject::invokeMethod(button, &QPushButton::click, Qt::QueuedConnection);
                return;
            }
        }
    }

    QTimer timer_;
    std::size_t next_ = 0;
};

} // namespace

class ClickThroughPlugin final : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "click_through_plugin.json")
public:
    QObject* create(const QString&, const QString&) override { return new ClickThrough; }
};

#include "click_through_plugin.moc"
