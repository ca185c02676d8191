#pragma once
// Every message box of the program goes through here, so tests can answer in advance
// and see what was said instead of hanging on a modal box.
#include <QString>
#include <deque>
#include <optional>
#include <vector>

class QWidget;

namespace plumet::ui {

enum class MessageIcon { Critical, Exclamation, Information, Question };
enum class MessageAnswer { Ok, Cancel };

// With `withCancel` the box offers OK and Cancel; otherwise OK alone.
MessageAnswer ShowMessage(QWidget* parent, MessageIcon icon, const QString& title, const QString& text,
                          bool withCancel = false);

// A question with Yes and No, the question icon and No as the default button; true for Yes.
// In test mode a queued Ok answers Yes and a queued Cancel answers No.
bool AskYesNo(QWidget* parent, const QString& title, const QString& text);

// A line of text asked for, with OK and Cancel; nothing on Cancel. In test mode the answer is
// the next queued text, or Cancel when none is queued.
std::optional<QString> AskText(QWidget* parent, const QString& title, const QString& label);

struct ShownMessage {
    MessageIcon icon;
    QString title;
    QString text;
};

// Test mode: no box appears; answers come from the queue (OK when it is empty) and every
// message is recorded.
class MessageTestMode {
public:
    MessageTestMode();
    ~MessageTestMode();
    MessageTestMode(const MessageTestMode&) = delete;
    MessageTestMode& operator=(const MessageTestMode&) = delete;

    void QueueAnswer(MessageAnswer answer);
    void QueueText(const QString& text);
    const std::vector<ShownMessage>& Shown() const;
    void Clear();
};

} // namespace plumet::ui
