package greet;

public class Greeter {
    public static String greeting() {
        return "greeted";
    }
}
