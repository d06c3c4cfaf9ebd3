#include <QApplication>
#include <QLabel>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrel"));
    QLabel label(QStringLiteral("Kestrel"));
    label.resize(480, 320);
    label.show();
    return app.exec();
}
