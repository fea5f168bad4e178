// MessageBoxA on QMessageBox.
#include "platform/msgbox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <cstdio>

#include "platform/modal.h"

static QMessageBox::Icon GetBoxIcon(UINT type) {
    switch (type & 0xF0) {
        case MB_ICONERROR: return QMessageBox::Critical;
        case MB_ICONQUESTION: return QMessageBox::Question;
        case MB_ICONWARNING: return QMessageBox::Warning;
        case MB_ICONINFORMATION: return QMessageBox::Information;
        default: return QMessageBox::NoIcon;
    }
}

int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) {
    if (!text) text = "";
    if (!caption) caption = "Error";  // the original's caption when none is given
    ModalEvent event = {MODAL_MSGBOX, owner, caption, text, type, 0, nullptr};
    int answer;
    if (CallModalHook(&event, &answer)) return answer;
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        fprintf(stderr, "%s: %s\n", caption, text);
        return IDOK;
    }
    // The owner's widget becomes the box's parent once windows are backed by widgets; until
    // then the box is centred on the screen.
    QMessageBox box(GetBoxIcon(type), QString::fromUtf8(caption), QString::fromUtf8(text),
                    QMessageBox::NoButton, nullptr);
    // Messages are plain text: a "<" in a file name must not turn them into markup.
    box.setTextFormat(Qt::PlainText);
    QPushButton* ok = box.addButton(QMessageBox::Ok);
    QPushButton* cancel =
        (type & 0x0F) == MB_OKCANCEL ? box.addButton(QMessageBox::Cancel) : nullptr;
    box.setDefaultButton(ok);
    // Escape and the close box answer Cancel when there is one, OK otherwise.
    box.setEscapeButton(cancel ? cancel : ok);
    box.exec();
    return cancel && box.clickedButton() != ok ? IDCANCEL : IDOK;
}
