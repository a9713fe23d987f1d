#include <QApplication>
#include <QLabel>

// Start-up of the program; the main window joins here once it exists.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("Marvane"));
    window.setWindowTitle(QStringLiteral("Marvane"));
    window.setAlignment(Qt::AlignCenter);
    window.resize(530, 435);
    window.show();
    return app.exec();
}
