// Builds the empty log template from the schema text: mktemplate SCHEMA.sql OUT.mdb
// The file is built beside OUT and renamed into place, so a failed build never leaves half a
// template where the program would copy it.
#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: mktemplate SCHEMA.sql OUT.mdb\n");
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::fprintf(stderr, "mktemplate: cannot read %s\n", argv[1]);
        return 1;
    }
    std::stringstream schema;
    schema << in.rdbuf();
    const std::string out = argv[2];
    const std::string tmp = out + ".tmp";
    std::remove(tmp.c_str());
    sqlite3 *db = nullptr;
    if (sqlite3_open(tmp.c_str(), &db) != SQLITE_OK) {
        std::fprintf(stderr, "mktemplate: %s\n", sqlite3_errmsg(db));
        sqlite3_close(db);
        return 1;
    }
    char *err = nullptr;
    const int rc = sqlite3_exec(db, schema.str().c_str(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        std::fprintf(stderr, "mktemplate: %s\n", err ? err : "schema failed");
        sqlite3_free(err);
        sqlite3_close(db);
        std::remove(tmp.c_str());
        return 1;
    }
    sqlite3_close(db);
    if (std::rename(tmp.c_str(), out.c_str()) != 0) {
        std::perror("mktemplate");
        return 1;
    }
    return 0;
}
