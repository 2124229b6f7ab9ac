#include "platform/LocalPath.h"

#include <gtest/gtest.h>

using namespace flk;

// Both forms must keep a path's characters that mean something in an
// address ("%", "#", "?") from ending or changing the path, leave the rest
// (spaces, bytes past ASCII) to the caller, and never wrap an address twice.
TEST(LocalPath, FileAddressesInBothForms) {
    struct {
        const char* path;
        const char* slashes;
        const char* listPage;
    } rows[] = {
        {"/home/u/a.html", "file:///home/u/a.html", "file:///home/u/a.html"},
        {"/home/u/My Pages/a b.html", "file:///home/u/My Pages/a b.html", "file:///home/u/My Pages/a b.html"},
        {"/tmp/#1/50%?.htm", "file:///tmp/%231/50%25%3F.htm", "file:///tmp/%231/50%25%3F.htm"},
        {"/tmp/%20", "file:///tmp/%2520", "file:///tmp/%2520"},  // already-looking escapes are file name bytes
        {"/srv/caf\xc3\xa9/\xe9t\xe9.jpg", "file:///srv/caf\xc3\xa9/\xe9t\xe9.jpg", "file:///srv/caf\xc3\xa9/\xe9t\xe9.jpg"},
        {"C:\\dir\\p.htm", "file:///C:/dir/p.htm", "file:////C:\\dir\\p.htm"},
        {"C:\\my dir\\#2.htm", "file:///C:/my dir/%232.htm", "file:////C:\\my dir\\%232.htm"},
        {"\\\\srv\\share\\p.htm", "file://srv/share/p.htm", "file:////srv\\share\\p.htm"},
        {"file:///tmp/x#y", "file:///tmp/x#y", "file:///tmp/x#y"},
        {"FILE:///C:\\x", "FILE:///C:\\x", "FILE:///C:\\x"},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(FileAddress(r.path), r.slashes) << r.path;
        EXPECT_EQ(FileAddress(r.path, FileAddressForm::ListPage), r.listPage) << r.path;
    }
}
