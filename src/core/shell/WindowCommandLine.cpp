#include "shell/WindowCommandLine.h"

#include <QCommandLineParser>

#include "support/Version.h"

namespace tal {

namespace {
constexpr const char* TalshellDescription =
    "TALSHELL, the desktop environment of the TALPIX simulation engine: decks, engine runs, listings, output "
    "files, plots, parametric tables and TALKIT forms. Opens FILE (a deck, form deck, table, plot file or any "
    "text) when one is named.";
constexpr const char* TalkitDescription =
    "TALKIT, the form-only mode of TALSHELL: fills in form decks and runs them. Opens the form deck FILE when "
    "one is named, else the project index or the Open dialog.";

// Qt's own options, which the application object takes out of the command line: known here so that
// the command line is checked before the window system is opened (help, version and a wrong option
// need no display), hidden from the help text.
void AddQtOptions(QCommandLineParser& parser) {
  for (const char* name : {"platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
                           "qwindowicon", "qwindowtitle", "session", "display", "geometry", "style", "stylesheet",
                           "name", "title"}) {
    QCommandLineOption option(name, "", "value");
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
  }
  for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
    QCommandLineOption option(name);
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
  }
}
}  // namespace

WindowCommandLine ParseWindowCommandLine(const QStringList& arguments, const std::string& program, bool talkitMode) {
  QCommandLineParser parser;
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);  // Qt's "-platform NAME"
  AddQtOptions(parser);
  parser.setApplicationDescription(talkitMode ? TalkitDescription : TalshellDescription);
  parser.addPositionalArgument("FILE", "The file to open.", "[FILE]");
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  QStringList named = arguments;
  if (named.isEmpty()) named << QString::fromStdString(program);
  WindowCommandLine result;
  if (!parser.parse(named)) {
    result.outcome = WindowCommandLine::Outcome::Error;
    result.text = program + ": " + parser.errorText().toStdString() + "\nTry '" + program + " --help'.\n";
    result.exitStatus = 2;
  } else if (parser.isSet(help)) {
    result.outcome = WindowCommandLine::Outcome::Help;
    // The help text names the program as it was started; the usage line shows it as `program`.
    std::string text = parser.helpText().toStdString();
    if (std::size_t colon = text.find(": "); colon != std::string::npos && text.starts_with("Usage:")) {
      std::size_t end = text.find(' ', colon + 2);
      text.replace(colon + 2, end - colon - 2, program);
    }
    result.text = text;
  } else if (parser.isSet(version)) {
    result.outcome = WindowCommandLine::Outcome::Version;
    result.text = program + " " + ProgramVersion() + "\n";
  } else {
    for (const QString& a : parser.positionalArguments()) result.arguments.push_back(a.toStdString());
  }
  return result;
}

}  // namespace tal
