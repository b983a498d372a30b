package e2e;

// A class without a main method; the class-path tests also load it from a jar of its own.
public class NoMain {
    public static void main() {
    }
}
