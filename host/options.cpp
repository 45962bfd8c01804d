#include "host/options.h"

#include <QCommandLineParser>
#include <filesystem>

#include "host/application_settings.h"

namespace velmora::host {

HostOptions ParseHostOptions(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Stands in for Recorder 6: loads the installed add-ins, shows their menu entries under "
      "the menus they name and offers its database to them.");
  const QCommandLineOption help({"h", "help"}, "Shows this help and ends.");
  const QCommandLineOption db("db", "Makes the SQLite database PATH the host's database.", "PATH");
  const QCommandLineOption connect(
      "connect", "Makes TEXT the connection string of the host's database.", "TEXT");
  const QCommandLineOption install(
      "install-addin", "Installs the add-in module MODULE (may be given more than once).",
      "MODULE");
  const QCommandLineOption list("list-addins",
                                "Prints the installed add-ins' names and descriptions and ends.");
  parser.addOptions({help, db, connect, install, list});
  if (!parser.parse(arguments)) throw UsageError(parser.errorText().toStdString());
  if (!parser.positionalArguments().isEmpty()) {
    throw UsageError("Unexpected argument: " + parser.positionalArguments().first().toStdString());
  }

  HostOptions options;
  options.help = parser.isSet(help);
  // Qt names the program by the application object, which may not exist yet.
  const QString text = parser.helpText();
  options.helpText = ("Usage: velmora-host [options]" + text.mid(text.indexOf('\n'))).toStdString();
  if (parser.isSet(db) && parser.isSet(connect)) {
    throw UsageError("Give the database either by --db or by --connect");
  }
  if (parser.isSet(db)) {
    const std::string path = parser.value(db).toStdString();
    // The connection string would end the path at the first ';'.
    if (path.empty() || path.find(';') != std::string::npos) {
      throw UsageError("--db needs a path without ';': " + path);
    }
    options.connectionString = SqliteConnectionString(std::filesystem::absolute(path));
  }
  if (parser.isSet(connect)) options.connectionString = parser.value(connect).toStdString();
  for (const QString& module : parser.values(install))
    options.modules.push_back(module.toStdString());
  options.listAddins = parser.isSet(list);
  return options;
}

}  // namespace velmora::host
