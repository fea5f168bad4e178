// MessageBoxA on QMessageBox.
#include "platform/user/msgbox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <cstdio>
#include <span>
#include <vector>

#include "platform/user/modal.h"
#include "platform/user/records.h"

namespace {

struct BoxBtn {
    QMessageBox::StandardButton btn;
    int answer;
};

const BoxBtn kOkBtns[] = {{QMessageBox::Ok, IDOK}};
const BoxBtn kOkCancelBtns[] = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
const BoxBtn kYesNoBtns[] = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};

// The buttons of the box, left to right: the first is the default, the last answers Escape.
std::span<const BoxBtn> GetBoxBtns(UINT type) {
    switch (type & 0x0F) {
        case MB_OKCANCEL: return kOkCancelBtns;
        case MB_YESNO: return kYesNoBtns;
        default: return kOkBtns;
    }
}

QMessageBox::Icon GetBoxIcon(UINT type) {
    switch (type & 0xF0) {
        case MB_ICONERROR: return QMessageBox::Critical;
        case MB_ICONQUESTION: return QMessageBox::Question;
        case MB_ICONWARNING: return QMessageBox::Warning;
        case MB_ICONINFORMATION: return QMessageBox::Information;
        default: return QMessageBox::NoIcon;
    }
}

// Runs the box over top's widget (none: centred on the screen) and returns the answer of the
// button pressed.
int RunBox(HWND top, const char* text, const char* caption, UINT type) {
    const std::span<const BoxBtn> btns = GetBoxBtns(type);
    // On the heap and watched: a window procedure running meanwhile may destroy the owner's
    // widget, and the box with it.
    QPointer<QMessageBox> box =
        new QMessageBox(GetBoxIcon(type), QString::fromUtf8(caption), QString::fromUtf8(text),
                        QMessageBox::NoButton, top ? top->widget : nullptr);
    // Messages are plain text: a "<" in a file name must not turn them into markup.
    box->setTextFormat(Qt::PlainText);
    std::vector<QPushButton*> pushed;
    for (const BoxBtn& b : btns) pushed.push_back(box->addButton(b.btn));
    box->setDefaultButton(pushed.front());
    box->setEscapeButton(pushed.back());
    box->exec();
    int answer = btns.back().answer;
    for (size_t i = 0; box && i < btns.size(); ++i)
        if (box->clickedButton() == pushed[i]) answer = btns[i].answer;
    delete box;
    return answer;
}

}  // namespace

int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) {
    if (!text) text = "";
    if (!caption) caption = "Error";  // the original's caption when none is given
    ModalEvent event = {MODAL_MSGBOX, owner,   caption, text,   type, 0,
                        nullptr,      nullptr, nullptr, nullptr};
    int answer;
    if (CallModalHook(&event, &answer)) return answer;
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        fprintf(stderr, "%s: %s\n", caption, text);
        return GetBoxBtns(type)[0].answer;
    }
    // Modal to the owner as the original: its top-level window takes no input meanwhile.
    HWND top = IsLiveWnd(owner) ? GetTopWnd(owner) : nullptr;
    const BOOL wasOff = top ? EnableWindow(top, FALSE) : FALSE;
    answer = RunBox(top, text, caption, type);
    if (top && IsLiveWnd(top)) EnableWindow(top, !wasOff);
    return answer;
}
