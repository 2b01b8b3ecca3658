// Norvant: start-up. Parses the command line, then shows the main window.
#include <QApplication>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

#include "Version.h"
#include "app/CommandLine.h"
#include "app/FormMain.h"
#include "app/FormMainOutput.h"
#include "app/Unattended.h"

namespace {

bool HasDisplay()
{
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
  return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY") ||
         qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
#else
  return true;
#endif
}

QStringList ArgumentsAfterProgram(int argc, char** argv)
{
  QStringList arguments;
  for (int i = 1; i < argc; ++i) {
    arguments.append(QString::fromLocal8Bit(argv[i]));
  }
  return arguments;
}

}  // namespace

int main(int argc, char** argv)
{
  const TCommandLine commandLine = ParseCommandLine(ArgumentsAfterProgram(argc, argv));
  if (commandLine.ShowVersion) {
    std::printf("%s %s (built %s)\n", norvant::kProgramName, norvant::kVersion, norvant::kBuildDate);
    return EXIT_SUCCESS;
  }
  if (commandLine.ShowHelp || !commandLine.Error.isEmpty()) {
    if (!commandLine.Error.isEmpty()) {
      std::fprintf(stderr, "norvant: %s\n", qPrintable(commandLine.Error));
    }
    std::fprintf(commandLine.ShowHelp ? stdout : stderr, "%s", qPrintable(CommandLineUsage()));
    return commandLine.ShowHelp ? EXIT_SUCCESS : EXIT_FAILURE;
  }
  // The unattended run shows nothing: it draws offscreen (unless told
  // otherwise), with no window and no start-up delay.
  if (IsUnattendedRun(commandLine)) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
      qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);
    return RunUnattended(commandLine);
  }
  if (!HasDisplay()) {
    std::fprintf(stderr,
                 "norvant: no display (DISPLAY and WAYLAND_DISPLAY are not set), so the window cannot be shown.\n"
                 "Unattended runs without a display come with the batch mode (-LATEST -SAVE).\n");
    return EXIT_FAILURE;
  }

  QApplication application(argc, argv);
  QApplication::setApplicationDisplayName("Norvant");
  TFormMain formMain(commandLine.Arguments, commandLine.ImagesPath);
  formMain.show();
  const int status = QApplication::exec();
  const TFormMainOutput* output = TFormMainOutput::Of(formMain);
  return output != nullptr ? output->ExitStatus().value_or(status) : status;
}
