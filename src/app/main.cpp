// kalvor: the editor's window. The command line is one path (as the platform's
// shell hands it over, split into arguments, it is joined again with blanks).
#include <QApplication>
#include <QStringList>

#include "ui/frm_main.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("kalvor");
    const QStringList arguments = QApplication::arguments().mid(1);
    kalvor::FrmMain window;
    if (!window.Start(arguments.join(QLatin1Char(' ')).toStdString())) return 0;
    return QApplication::exec();
}
