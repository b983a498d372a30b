package e2e;

// A class whose main takes no arguments, so a launcher finds no main to call; the
// class-path tests also load it from a jar of its own.
public class NoMain {
    public static void main() {
    }
}
