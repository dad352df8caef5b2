#include "app/form1.h"
#include "platform/qtplatform.h"
#include "print/cupsprintersystem.h"
#include "web/links.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QtPlatform platform;
    CupsPrinterSystem printers;
    Form1 form(platform, printers);
    form.startUp(updateFileAddress());
    return app.exec();
}
