// Norvant: start-up. Parses the command line, then either runs unattended
// (with "-SAVE") or shows the main window.
#include <QApplication>
#include <QGuiApplication>

#include <cstdio>

#include "Version.h"
#include "app/CommandLine.h"
#include "app/DisplayCheck.h"
#include "app/FormMain.h"
#include "app/FormMainOutput.h"
#include "app/QuietMessages.h"
#include "app/TerminationSignals.h"
#include "app/Unattended.h"

namespace {

QStringList ArgumentsAfterProgram(int argc, char** argv)
{
  QStringList arguments;
  for (int i = 1; i < argc; ++i) {
    arguments.append(QString::fromLocal8Bit(argv[i]));
  }
  return arguments;
}

int RunUnattendedOffscreen(int argc, char** argv, const TCommandLine& commandLine)
{
  // The unattended run shows nothing: it draws offscreen (unless told
  // otherwise), with no window and no start-up delay.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QGuiApplication application(argc, argv);
  return RunUnattended(commandLine);
}

int RunWindow(int argc, char** argv, const TCommandLine& commandLine)
{
  QApplication application(argc, argv);
  // No application display name: Qt would add it to a caption that
  // already begins with the program's name.
  TFormMain formMain(commandLine.Arguments, commandLine.ImagesPath);
  // A kill or the end of the session closes the window as File > Exit does.
  const TTerminationSignals termination(CloseAllWindowsAndQuit);
  QObject::connect(&application, &QGuiApplication::commitDataRequest, &formMain,
                   [&formMain](QSessionManager&) { formMain.StoreGeometry(); });
  formMain.show();
  const int status = QApplication::exec();
  const TFormMainOutput* output = TFormMainOutput::Of(formMain);
  return output != nullptr ? output->ExitStatus().value_or(status) : status;
}

}  // namespace

int main(int argc, char** argv)
{
  InstallQuietMessageHandler();
  const TCommandLine commandLine = ParseCommandLine(ArgumentsAfterProgram(argc, argv));
  if (commandLine.ShowVersion) {
    std::printf("%s %s (built %s)\n", norvant::kProgramName, norvant::kVersion, norvant::kBuildDate);
    return esSuccess;
  }
  if (commandLine.ShowHelp) {
    std::printf("%s", qPrintable(CommandLineUsage()));
    return esSuccess;
  }
  if (!commandLine.Error.isEmpty()) {
    std::fprintf(stderr, "norvant: %s\n%s", qPrintable(commandLine.Error), qPrintable(CommandLineUsage()));
    return esUsage;
  }
  if (IsUnattendedRun(commandLine)) {
    return RunUnattendedOffscreen(argc, argv, commandLine);
  }
  const QString noDisplay = WhyNoDisplay(CurrentDisplayEnvironment());
  if (!noDisplay.isEmpty()) {
    std::fprintf(stderr,
                 "norvant: the window cannot be shown: %s.\n"
                 "Runs without a display save their pictures: add -SAVE or -SAVE:FOLDER after the data argument.\n",
                 qPrintable(noDisplay));
    return esUsage;
  }
  if (AnimationIgnored(commandLine)) {
    std::fprintf(stderr, "norvant: -ANIM is ignored without -SAVE.\n");
  }
  return RunWindow(argc, argv, commandLine);
}
