#include "ui/app/messages.h"

#include <QInputDialog>
#include <QMessageBox>

#include "ui/app/scaleform.h"

namespace plumet::ui {
namespace {

struct TestState {
    bool active = false;
    std::deque<MessageAnswer> answers;
    std::deque<QString> texts;
    std::vector<ShownMessage> shown;
};

TestState& Test() {
    static TestState state;
    return state;
}

QMessageBox::Icon QtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Critical: return QMessageBox::Critical;
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// A message box takes the fonts of the window size; Qt sizes it to its text and keeps it on
// the screen over the window it belongs to.
int Shown(QMessageBox& box) {
    ScaleFormBySettings(&box);
    box.setAttribute(Qt::WA_Moved, false);
    return box.exec();
}

} // namespace

MessageAnswer ShowMessage(QWidget* parent, MessageIcon icon, const QString& title, const QString& text,
                          bool withCancel) {
    if (Test().active) {
        Test().shown.push_back({icon, title, text});
        if (Test().answers.empty()) return MessageAnswer::Ok;
        const MessageAnswer answer = Test().answers.front();
        Test().answers.pop_front();
        return answer;
    }
    QMessageBox box(QtIcon(icon), title, text,
                    withCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    return Shown(box) == QMessageBox::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
}

bool AskYesNo(QWidget* parent, const QString& title, const QString& text) {
    if (Test().active) return ShowMessage(parent, MessageIcon::Question, title, text, true) == MessageAnswer::Ok;
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    return Shown(box) == QMessageBox::Yes;
}

std::optional<QString> AskText(QWidget* parent, const QString& title, const QString& label) {
    if (Test().active) {
        Test().shown.push_back({MessageIcon::Question, title, label});
        if (Test().texts.empty()) return std::nullopt;
        const QString text = Test().texts.front();
        Test().texts.pop_front();
        return text;
    }
    QInputDialog box(parent);
    box.setWindowTitle(title);
    box.setLabelText(label);
    ScaleFormBySettings(&box);
    if (box.exec() != QDialog::Accepted) return std::nullopt;
    return box.textValue();
}

MessageTestMode::MessageTestMode() { Test() = TestState{true, {}, {}, {}}; }
MessageTestMode::~MessageTestMode() { Test() = TestState{}; }
void MessageTestMode::QueueAnswer(MessageAnswer answer) { Test().answers.push_back(answer); }
void MessageTestMode::QueueText(const QString& text) { Test().texts.push_back(text); }
const std::vector<ShownMessage>& MessageTestMode::Shown() const { return Test().shown; }
void MessageTestMode::Clear() { Test().shown.clear(); }

} // namespace plumet::ui
