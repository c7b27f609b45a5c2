// Message boxes for the engine's messages.
#include "DialogMessages.h"

#include "app/AppSession.h"

#include <QApplication>
#include <QMessageBox>

namespace pv {
namespace {

QString Caption(const char *kind) { return QString::fromUtf8(kind) + QStringLiteral(" (%1)").arg(kProductName); }
// The engine's texts break lines with \r.
QString Text(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())).replace('\r', '\n'); }

} // namespace

void DialogMessages::Warning(std::string_view text)
{
    QMessageBox::warning(QApplication::activeWindow(), Caption("警告"), Text(text));
}

void DialogMessages::Information(std::string_view text)
{
    QMessageBox::information(QApplication::activeWindow(), QString::fromUtf8(kProductName), Text(text));
}

MessageAnswer DialogMessages::Ask(std::string_view text, MessageButtons buttons)
{
    using B = QMessageBox::StandardButton;
    const QMessageBox::StandardButtons choice = buttons == MessageButtons::YesNo      ? (B::Yes | B::No)
                                                : buttons == MessageButtons::OkCancel ? (B::Ok | B::Cancel)
                                                                                      : (B::Yes | B::No | B::Cancel);
    switch (QMessageBox::question(QApplication::activeWindow(), QString::fromUtf8(kProductName), Text(text), choice)) {
    case B::Yes: return MessageAnswer::Yes;
    case B::No: return MessageAnswer::No;
    case B::Ok: return MessageAnswer::Ok;
    default: return MessageAnswer::Cancel;
    }
}

} // namespace pv
