package hello;

public class Main {
    public static void main(String[] args) {
        Module module = Main.class.getModule();
        System.err.println(greet.Greeter.greeting() + " by " + module.getName() + ", named " + module.isNamed()
                + ", arguments " + String.join(",", args));
    }
}
