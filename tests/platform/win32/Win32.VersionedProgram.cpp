// A program whose only purpose is to carry the version resource of Win32.VersionedProgram.rc.
int main() {
    return 0;
}
